#pragma once
// The program's help: one window that shows the help file, an HTML document whose table of
// contents is the anchor "contents". The window is not modal; the program goes on beside it.
#include <QByteArray>
#include <QString>
#include <QWidget>

class QTextBrowser;

class HelpViewer : public QWidget {
public:
    // Opens the help file, given by its Windows name (e.g. "C:\WINDOWS\valdrine.HLP"), at its
    // contents and returns at once. There is only ever one help window: a later call loads the file
    // afresh into it and brings it to the front. A file that is missing or cannot be read does not
    // stop anything; the window says so instead of showing the help.
    static void ShowContents(const QString& winHelpFile);
    // The same for a file already found on the host; `winName` is the name the window reports.
    static void ShowContentsOfHostFile(const QByteArray& host, const QString& winName);

    // The open help window, nullptr when there is none. It deletes itself when the user closes it.
    static HelpViewer* Current();

    QTextBrowser* Browser() const { return browser_; }

private:
    HelpViewer();
    void Load(const QByteArray& host, const QString& winName);

    QTextBrowser* browser_;
};
