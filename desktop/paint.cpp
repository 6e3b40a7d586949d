// PAINT SELECTED: the Desktop is handed back to the category painted last, moved into the undo
// store, and filled with copies of the selected category's files.
#include "ui/main_form.h"

#include "platform/file_services.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "startup/user_settings.h"
#include "toolkit/copy_tree.h"
#include "toolkit/folder_names.h"
#include "ui/command_report.h"

#include <QSet>

using namespace platform;

namespace {

QString PaintSection() { return QStringLiteral("User\\") + UserName; }

// Makes the category hold exactly the Desktop's files. The Desktop's files are copied over first and
// only a complete copy lets the category's other files go, so a failure never leaves a category
// file deleted that the Desktop does not hold.
void SaveDesktopInto(const QString& category) {
    if (CopyFiles(DesktopDir + QStringLiteral("\\*.*"), category) == CopyOutcome::Incomplete)
        Raise(kPathFileAccessError, category);
    QSet<QString> onDesktop;
    for (const QString& name : FileNames(DesktopDir + QStringLiteral("\\*.*"))) onDesktop.insert(name.toCaseFolded());
    for (const QString& name : FileNames(category + QStringLiteral("\\*.*")))
        if (!onDesktop.contains(name.toCaseFolded())) Kill(category + u'\\' + name);
}

}  // namespace

bool MainForm::DesktopKnown() {
    if (DesktopDir.isEmpty()) {
        MsgBox(QStringLiteral("The registry names no Desktop folder for you, so there is no Desktop to work on."), vbCritical);
        return false;
    }
    if (Dir(DesktopDir, vbDirectory).isEmpty()) {
        MsgBox(QStringLiteral("Cannot find the Desktop folder %1.").arg(DesktopDir), vbCritical);
        return false;
    }
    return true;
}

void MainForm::ApplyClick() {
    try {
        Node* selected = Category->SelectedItem();
        if (!selected) Raise(kObjectVariableNotSet);
        if (!selected->Key().isEmpty() && DesktopKnown()) PaintCategory();
    } catch (const VbError&) {
        Beep();
    }
}

void MainForm::PaintCategory() {
    BusyScope busy(*this);
    DesktopInStore = false;
    CommandReport report(QStringLiteral("Trouble Installing Shortcuts."), CommandReport::Description);
    QString target, current;
    if (!report.Step([&] { target = ProfilesDir + u'\\' + Category->SelectedItem()->Key(); })) return;
    // A category removed behind the program's back would paint an empty Desktop without a word.
    if (!Exists(target)) {
        MsgBox(QStringLiteral("Cannot find the category folder %1.").arg(target), vbCritical);
        return;
    }
    const QString desktop = DesktopDir + u'\\';
    if (!report.Step([&] { current = GetSetting(kSettingsApp, PaintSection(), QStringLiteral("Current"), QString()); }))
        return;
    if (!current.isEmpty() && current != target) {
        const bool save = !CheckSave || MsgBox(QStringLiteral("Save Current Desktop to ") + CrLf + current, vbYesNoQuestion, QString()) == vbYes;
        if (save && !report.Step([&] { SaveDesktopInto(current); })) return;
    }
    if (!report.Step([&] { SaveDesktopUndo(); })) return;
    std::vector<QString> names;
    QSet<QString> onDesktop;  // case-folded
    if (!report.Step([&] {
            names = FileNames(target + QStringLiteral("\\*.*"));
            for (const QString& name : FileNames(desktop + QStringLiteral("*.*"))) onDesktop.insert(name.toCaseFolded());
            for (const QString& name : SubfolderNames(DesktopDir)) onDesktop.insert(name.toCaseFolded());
        }))
        return;
    for (const QString& name : names) {
        // The Desktop is empty here but for its folders, unless its save failed and was ignored;
        // what is on it is never copied over.
        const bool goOn = report.Step([&] {
            if (onDesktop.contains(name.toCaseFolded())) Raise(kFileAlreadyExists, desktop + name);
            FileCopy(target + u'\\' + name, desktop + name);
            onDesktop.insert(name.toCaseFolded());
        });
        if (!goOn) return;
    }
    if (!report.Step([&] { SaveSetting(kSettingsApp, PaintSection(), QStringLiteral("Current"), target); })) return;
    DoEvents();
}
