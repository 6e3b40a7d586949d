#include "ui/main_form.h"

#include "platform/message_box.h"
#include "platform/twips.h"
#include "startup/failure_text.h"
#include "startup/shared_state.h"
#include "startup/user_settings.h"
#include "toolkit/delete_tree.h"
#include "toolkit/folder_names.h"
#include "ui/about_orv.h"
#include "ui/button_pictures.h"
#include "ui/help_viewer.h"
#include "ui/untrapped.h"

#include <QMenuBar>

using namespace platform;

namespace {

constexpr int kClientWidth = 5475;
constexpr int kClientHeight = 4230;
constexpr int kButton = 420;
constexpr int kHourglass = 11;

}  // namespace

MainForm::MainForm(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Valdrine"));
    BuildControls();
    BuildMenus();
    SetTabOrder();
    WireCommands();
}

void MainForm::BuildControls() {
    Client = new QWidget(this);
    Client->setFixedSize(Px(kClientWidth), Px(kClientHeight));
    setCentralWidget(Client);

    Shape1 = new QFrame(Client);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(TwipRect(0, 0, kClientWidth, 435));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setAutoFillBackground(true);
    Shape1->setBackgroundRole(QPalette::Mid);

    Desktops = new QFrame(Client);
    Desktops->setObjectName(QStringLiteral("Desktops"));
    Desktops->setGeometry(TwipRect(0, 420, kClientWidth, 3840));
    Desktops->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Desktops->setLineWidth(2);

    Category = new TreeView(Desktops);
    Category->setObjectName(QStringLiteral("Category"));
    Category->setGeometry(TwipRect(45, 45, 5385, 3750));

    auto button = [this](const char* name, const QString& caption, ButtonPicture picture, int left) {
        auto* b = new CommandButton(caption, PictureFor(picture), Client);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(TwipRect(left, 0, kButton, kButton));
        return b;
    };
    Apply = button("Apply", QStringLiteral("PAINT SELECTED"), ButtonPicture::Paint, 0);
    CSCmdBtn3 = button("CSCmdBtn3", QStringLiteral("UPDATE START MENU"), ButtonPicture::UpdateStartMenu, 420);
    NEW = button("NEW", QStringLiteral("NEW CATEGORY"), ButtonPicture::NewCategory, 840);
    rename = button("rename", QStringLiteral("RENAME CATEGORY"), ButtonPicture::RenameCategory, 1260);
    mov = button("mov", QStringLiteral("MOVE CATEGORY"), ButtonPicture::MoveCategory, 1680);
    COPY = button("COPY", QStringLiteral("CLONE CATEGORY"), ButtonPicture::CloneCategory, 2100);
    DELETE[0] = button("DELETE_0", QStringLiteral("DELETE CATEGORY"), ButtonPicture::Delete0, 2520);
    DELETE[1] = button("DELETE_1", QStringLiteral("DELETE CATEGORY"), ButtonPicture::Delete1, 2520);
    CSCmdBtn1 = button("CSCmdBtn1", QStringLiteral("OOPS UNDO"), ButtonPicture::Undo, 2940);
    Explore = button("Explore", QStringLiteral("SEE CONTENTS"), ButtonPicture::SeeContents, 3360);
    CSCmdBtn4 = button("CSCmdBtn4", QStringLiteral("VISIT LIBRARY"), ButtonPicture::VisitLibrary, 3780);
    Capture = button("Capture", QStringLiteral("CAPTURE CURRENT"), ButtonPicture::Capture, 4200);
    CSCmdBtn2 = button("CSCmdBtn2", QStringLiteral("HELP CONTENTS"), ButtonPicture::HelpContents, 4620);
    exit = button("exit", QStringLiteral("BYE BYE"), ButtonPicture::ByeBye, 5040);
    DELETE[0]->setVisible(false);  // element 0 of the pair is hidden until the first delete

    CSForm1 = new FileDropControl(this, Category->viewport(), QPoint(135, 615));
}

void MainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto item = [](QMenu* menu, const QString& caption, const QKeySequence& key) {
        QAction* action = menu->addAction(caption);
        if (!key.isEmpty()) action->setShortcut(key);
        return action;
    };
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFileExit = item(mnuFile, QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_X));

    mnuEdit = bar->addMenu(QStringLiteral("&Actions"));
    mnuEditCopy = item(mnuEdit, QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C));
    mnuEditDelete = item(mnuEdit, QStringLiteral("&Delete"), QKeySequence(Qt::Key_Delete));
    mnuEditMove = item(mnuEdit, QStringLiteral("&Move"), QKeySequence(Qt::CTRL | Qt::Key_M));
    mnuEditNew = item(mnuEdit, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    mnuEditRename = item(mnuEdit, QStringLiteral("&Rename"), QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuSeperator = mnuEdit->addSeparator();
    mnuUndo = item(mnuEdit, QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_U));

    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelpContents = item(mnuHelp, QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1));
    mnuHelpAbout = item(mnuHelp, QStringLiteral("&About ORV"), QKeySequence());

    mnuOptions = bar->addMenu(QStringLiteral("&Options"));
    mnuOptionsSave = item(mnuOptions, QStringLiteral("&Query Save"), QKeySequence());
    mnuOptionsShowLogo = item(mnuOptions, QStringLiteral("&Show Logo"), QKeySequence());
    mnuOptionsSave->setCheckable(true);
    mnuOptionsShowLogo->setCheckable(true);
}

// Tab order 0..15 of the design: Capture, Explore, exit, Apply, (Desktops), Category, NEW,
// DELETE(0), rename, CSCmdBtn1, DELETE(1), mov, COPY, CSCmdBtn2, CSCmdBtn3, CSCmdBtn4.
void MainForm::SetTabOrder() {
    const QWidget* order[] = {Capture, Explore, exit, Apply, Category, NEW, DELETE[0], rename,
                              CSCmdBtn1, DELETE[1], mov, COPY, CSCmdBtn2, CSCmdBtn3, CSCmdBtn4};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    Category->setFocusPolicy(Qt::StrongFocus);
}

void MainForm::WireCommands() {
    auto on = [this](auto* sender, auto signal, void (MainForm::*command)()) {
        connect(sender, signal, this, [this, command] { Untrapped([this, command] { (this->*command)(); }); });
    };
    for (int i = 0; i < 2; ++i)
        connect(DELETE[i], &QToolButton::clicked, this, [this, i] { Untrapped([this, i] { DeleteClick(i); }); });
    on(exit, &QToolButton::clicked, &MainForm::ByeBye);
    on(CSCmdBtn2, &QToolButton::clicked, &MainForm::HelpContents);
    on(mnuFileExit, &QAction::triggered, &MainForm::FileExit);
    on(mnuHelpContents, &QAction::triggered, &MainForm::HelpContents);
    on(mnuHelpAbout, &QAction::triggered, &MainForm::HelpAbout);
    on(mnuOptionsSave, &QAction::triggered, &MainForm::OptionsSave);
    on(mnuOptionsShowLogo, &QAction::triggered, &MainForm::OptionsShowLogo);
    on(CSCmdBtn1, &QToolButton::clicked, &MainForm::RestoreUndo);
    on(Apply, &QToolButton::clicked, &MainForm::ApplyClick);
    on(CSCmdBtn3, &QToolButton::clicked, &MainForm::UpdateStartMenu);
    on(CSCmdBtn4, &QToolButton::clicked, &MainForm::VisitLibrary);
    on(Explore, &QToolButton::clicked, &MainForm::SeeContents);
    on(NEW, &QToolButton::clicked, &MainForm::EditNew);
    on(rename, &QToolButton::clicked, &MainForm::EditRename);
    on(mov, &QToolButton::clicked, &MainForm::EditMove);
    on(COPY, &QToolButton::clicked, &MainForm::EditCopy);
    on(mnuEditNew, &QAction::triggered, &MainForm::EditNew);
    on(mnuEditRename, &QAction::triggered, &MainForm::EditRename);
    on(mnuEditDelete, &QAction::triggered, &MainForm::EditDelete);
    on(mnuEditMove, &QAction::triggered, &MainForm::EditMove);
    on(mnuEditCopy, &QAction::triggered, &MainForm::EditCopy);
    connect(Category, &TreeView::BeforeLabelEdit, this, [this](int* c) { Untrapped([&] { Category_BeforeLabelEdit(c); }); });
    connect(Category, &TreeView::AfterLabelEdit, this,
            [this](int* c, const QString& s) { Untrapped([&] { Category_AfterLabelEdit(c, s); }); });
    connect(Category, &TreeView::DragOver, this, [this](int x, int y, int st) { Untrapped([&] { Category_DragOver(x, y, st); }); });
    connect(Category, &TreeView::DragDrop, this, [this](int x, int y) { Untrapped([&] { Category_DragDrop(x, y); }); });
    on(Capture, &QToolButton::clicked, &MainForm::CaptureCurrent);
    connect(CSForm1, &FileDropControl::FilesDropped, this, [this](int count, float x, float y, int unused) {
        Untrapped([&] { CSForm1_FilesDropped(count, x, y, unused); });
    });
    on(mnuUndo, &QAction::triggered, &MainForm::RestoreUndo);

    connect(Category, &TreeView::Expand, this, [this](Node* n) { Untrapped([&] { Category_Expand(n); }); });
    connect(Category, &TreeView::NodeClick, this, [this](Node* n) { Untrapped([&] { Category_NodeClick(n); }); });
    connect(Category, &TreeView::MouseDown, this, [this](int b, int s, int x, int y) {
        Untrapped([&] { Category_MouseDown(b, s, x, y); });
    });
}

void MainForm::Load() {
    adjustSize();
    move(CentredOnScreen(Tw(width()), Tw(height())));
    ReloadTree();
    CrLf = QStringLiteral("\r\n");
    DeleteButtonIndex = 1;
    UndoAvailable = 0;
    SaveUndoOnRename = true;
    mnuEditDelete->setEnabled(false);
    mnuEditRename->setEnabled(false);
    mnuEditMove->setEnabled(false);
    NEW->setVisible(true);
    COPY->setVisible(false);
    mov->setVisible(false);
    DELETE[DeleteButtonIndex]->setVisible(false);
    rename->setVisible(false);
    busyCount_ = 0;
    SetBusy(false);
    MoveMode = false;
    mnuOptionsSave->setChecked(CheckSave);
    mnuOptionsShowLogo->setChecked(ShowLogo);
}

void MainForm::SetMousePointer(int pointer) {
    if (pointer == mousePointer_) return;
    mousePointer_ = pointer;
    if (pointer == kHourglass) setCursor(Qt::WaitCursor);
    else unsetCursor();
}

void MainForm::SetBusy(bool busy) {
    if (busy) {
        if (busyCount_ == 0) savedPointer_ = mousePointer_;
        ++busyCount_;
        SetMousePointer(kHourglass);
        return;
    }
    --busyCount_;
    if (busyCount_ <= 0) {
        busyCount_ = 0;
        SetMousePointer(savedPointer_);
    }
}

void MainForm::DeleteClick(int index) {
    Category->setFocus();
    EditDelete();
    if (index == 1) {
        DELETE[0]->setVisible(true);
        DELETE[1]->setVisible(false);
    }
    DeleteButtonIndex = 0;
}

void MainForm::ByeBye() {
    const QString store = TmpDir + QStringLiteral("\\UNDO");
    if (Exists(store)) {
        try {
            DeleteTree(store);
        } catch (const VbError& e) {
            MsgBox(FailureText(QStringLiteral("Cannot delete the undo information in %1.").arg(store), e), vbCritical);
        }
    }
    EndProgram();
}

void MainForm::FileExit() { EndProgram(); }

void MainForm::EndProgram() { ::EndProgram(0); }

void MainForm::HelpContents() { HelpViewer::ShowContents(WindowsDir + QStringLiteral("\\valdrine.HLP")); }

void MainForm::HelpAbout() { AboutORV::ShowAbout(); }

void MainForm::OptionsSave() { mnuOptionsSave->setChecked(SwitchOption(UserOption::QuerySave)); }

void MainForm::OptionsShowLogo() { mnuOptionsShowLogo->setChecked(SwitchOption(UserOption::ShowLogo)); }
