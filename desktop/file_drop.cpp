// Files dropped on the window from the host's file manager are copied into the category under the
// drop point, or into the selected one.
#include "ui/main_form.h"

#include "platform/file_services.h"
#include "platform/message_box.h"
#include "platform/vb_error.h"
#include "startup/shared_state.h"
#include "toolkit/folder_names.h"
#include "toolkit/path_helpers.h"
#include "ui/command_report.h"

using namespace platform;

void MainForm::CSForm1_FilesDropped(int count, float x, float y, int /*unused*/) {
    BusyScope busy(*this);
    CommandReport report(QStringLiteral("WARNING !"), [](const VbError& e) {
        return QStringLiteral("Trouble Capturing Shortcuts.") + CrLf + e.Description();
    });
    const int tx = int(x) - 135, ty = int(y) - 615;
    Node* hit = Category->HitTest(tx, ty);
    if (hit && hit->Text().isEmpty()) return;
    QString target;
    if (hit) {
        Category->SetDropHighlight(Category->HitTest(tx, ty));
        target = ProfilesDir + u'\\' + Category->DropHighlight()->Key();
    } else {
        Node* selected = Category->SelectedItem();
        if (!selected || selected->Key().isEmpty()) {
            MsgBox(QStringLiteral("Drop the files on a category, or select one first: nothing was copied."), vbOKOnly);
            return;
        }
        target = ProfilesDir + u'\\' + selected->Key();
    }
    if (MsgBox(QStringLiteral("Copy Shortcuts To") + CrLf + target, vbYesNoQuestion, QStringLiteral("Confirm")) == vbNo) return;
    for (int i = 1; i <= count; ++i) {
        const QString source = CSForm1->DroppedFile(i);
        const QString name = SplitPath(source, PathPart::Name);
        const QString destination = target + u'\\' + name;
        bool present = false;
        if (!report.Step([&] { present = AlreadyPresent(destination, name); })) return;
        const bool copy = !present || MsgBox(QStringLiteral("File Already Exists At Destination") + CrLf + QStringLiteral(" Overwrite ?"),
                                             vbYesNoQuestion, QStringLiteral("Please Confirm!")) == vbYes;
        if (copy && !report.Step([&] {
                // A dropped folder is no shortcut; it is refused like a file that is not there.
                if (!Dir(source, vbDirectory).isEmpty() && Dir(source, vbNormal).isEmpty()) Raise(kPathFileAccessError, source);
                FileCopy(source, destination);
            }))
            return;
        Category->SetDropHighlight(nullptr);
    }
}
