// CAPTURE CURRENT: the files directly on the Desktop are copied into the selected category.
#include "ui/main_form.h"

#include "platform/file_services.h"
#include "platform/message_box.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "toolkit/folder_names.h"
#include "ui/command_report.h"

using namespace platform;

void MainForm::CaptureCurrent() {
    if (MsgBox(QStringLiteral("Are You Sure You Wish To") + CrLf + QStringLiteral("Capture The Current Desktop") + CrLf +
                   QStringLiteral("Into The Selected Category."),
               vbYesNoQuestion, QStringLiteral("CONFIRM !")) == vbNo)
        return;
    BusyScope busy(*this);
    QString destinationFile;
    CommandReport report(QStringLiteral("Trouble Reported."), [&](const VbError& e) {
        return QStringLiteral("With Operation On FIle ") + destinationFile + CrLf + e.Description();
    });
    QString key;
    if (!report.Step([&] {
            Node* selected = Category->SelectedItem();
            key = selected ? selected->Key() : QString();
        }))
        return;
    if (key.isEmpty()) {
        Beep();
        MsgBox(QStringLiteral("No Destination Category Selected!"), vbCritical, QStringLiteral("Sorry, Capture Not Done."));
        return;
    }
    if (!DesktopKnown()) return;
    const QString destination = ProfilesDir + u'\\' + key;
    std::vector<QString> names;
    if (!report.Step([&] { names = FileNames(DesktopDir + QStringLiteral("\\*.*")); })) return;
    for (const QString& name : names) {
        destinationFile = destination + u'\\' + name;
        bool present = false;
        if (!report.Step([&] { present = AlreadyPresent(destinationFile, name); })) return;
        if (present && MsgBox(name + CrLf + QStringLiteral("Already Exists !") + CrLf + QStringLiteral("Overwrite ?"),
                              vbYesNoQuestion, QStringLiteral("Please Confirm")) == vbNo)
            continue;
        // Copied over the old file, which is replaced only once the copy is whole: deleting it
        // first would lose it to a copy that then fails.
        if (!report.Step([&] { FileCopy(DesktopDir + u'\\' + name, destinationFile); })) return;
    }
}
