#pragma once
// MainForm: the program's one working window. Its procedures share its members and are defined in
// the folder of their subsystem: the window's own wiring here in ui/, the category tree in
// library/, the Desktop commands in desktop/.
#include "platform/command_button.h"
#include "platform/file_drop_control.h"
#include "platform/tree_view.h"

#include <QAction>
#include <QFrame>
#include <QMainWindow>
#include <QMenu>
#include <array>
#include <cstdint>

class MainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit MainForm(QWidget* parent = nullptr);

    // Runs the load steps; the start-up shows the window after it.
    void Load();

    // --- The window (ui/main_form.cpp) ---
    void SetBusy(bool busy);
    int MousePointer() const { return mousePointer_; }
    int16_t BusyCount() const { return busyCount_; }

    // --- The category tree (library/category_tree.cpp) ---
    void ReloadTree();
    void LoadTreeLevel(const QString& FolderPath, const QString& ParentKey);
    void RelabelChildren(const QString& Key);
    void MenuEditEnable(const QString& Key);

    // --- Category editing (library/category_edit.cpp, library/category_move.cpp) ---
    void EditNew();
    void EditRename();
    void EditDelete();
    void EditCopy();
    void EditMove();
    // Availability of the category commands for the selected node, after a command changed it.
    void RefreshCommands();

    // --- The undo store (desktop/undo_store.cpp) ---
    void SaveDesktopUndo();
    void SaveUndoState(const QString& folder);
    void RestoreUndo();
    void RemoveShortcuts(const QString& folder);

    // --- Paint, capture and file drop (desktop/paint.cpp, desktop/capture.cpp, desktop/file_drop.cpp) ---
    void PaintCategory();
    void CaptureCurrent();
    void CSForm1_FilesDropped(int count, float x, float y, int unused);

    // --- The Start-Menu mirror and the explorer (desktop/start_menu.cpp) ---
    void UpdateStartMenu();
    void BuildStartMenuTree(const QString& source, const QString& destination);
    void VisitLibrary();
    void SeeContents();

    // Controls, by their design names. The tree and the buttons sit on the client area in twips.
    QWidget* Client = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Desktops = nullptr;
    platform::TreeView* Category = nullptr;
    platform::CommandButton* CSCmdBtn4 = nullptr;  // VISIT LIBRARY
    platform::CommandButton* CSCmdBtn3 = nullptr;  // UPDATE START MENU
    platform::CommandButton* CSCmdBtn2 = nullptr;  // HELP CONTENTS
    platform::CommandButton* COPY = nullptr;
    platform::CommandButton* mov = nullptr;
    std::array<platform::CommandButton*, 2> DELETE{};
    platform::CommandButton* CSCmdBtn1 = nullptr;  // OOPS UNDO
    platform::CommandButton* rename = nullptr;
    platform::CommandButton* NEW = nullptr;
    platform::CommandButton* Apply = nullptr;
    platform::CommandButton* exit = nullptr;
    platform::CommandButton* Explore = nullptr;
    platform::CommandButton* Capture = nullptr;
    platform::FileDropControl* CSForm1 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditDelete = nullptr;
    QAction* mnuEditMove = nullptr;
    QAction* mnuEditNew = nullptr;
    QAction* mnuEditRename = nullptr;
    QAction* mnuSeperator = nullptr;
    QAction* mnuUndo = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QMenu* mnuOptions = nullptr;
    QAction* mnuOptionsSave = nullptr;
    QAction* mnuOptionsShowLogo = nullptr;

    // Window state.
    int16_t DeleteButtonIndex = 1;
    bool SaveUndoOnRename = true;
    bool MoveMode = false;
    QString DragSourceDir;
    QString DropTargetDir;
    // The Desktop has been moved into the undo store by the paint that runs now: a retried
    // SaveDesktopUndo goes on from there instead of discarding the store that holds it.
    bool DesktopInStore = false;

private:
    void BuildControls();
    void BuildMenus();
    void SetTabOrder();
    void WireCommands();
    void SetMousePointer(int pointer);

    // Commands of the window itself.
    void DeleteClick(int index);
    void ByeBye();
    void FileExit();
    void HelpContents();
    void HelpAbout();
    void OptionsSave();
    void OptionsShowLogo();
    void EndProgram();
    void ApplyClick();
    // False, after saying so, when the registry gives no Desktop folder or it is not there.
    bool DesktopKnown();

    // Tree events (library/category_tree.cpp).
    void Category_Expand(platform::Node* node);
    void Category_NodeClick(platform::Node* node);
    void Category_MouseDown(int button, int shift, int x, int y);
    void Category_BeforeLabelEdit(int* Cancel);
    void Category_AfterLabelEdit(int* Cancel, const QString& NewString);
    void Category_DragOver(int x, int y, int state);
    void Category_DragDrop(int x, int y);
    void StartDrag(bool move);

    int16_t busyCount_ = 0;
    int savedPointer_ = 0;
    int mousePointer_ = 0;
};

// SetBusy(true) for the life of the scope, SetBusy(false) however it ends.
class BusyScope {
public:
    explicit BusyScope(MainForm& form) : form_(form) { form_.SetBusy(true); }
    ~BusyScope() { form_.SetBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    MainForm& form_;
};
