#pragma once
// The About window: who made the program and how to reach them. It is not modal and has no button;
// the user closes it through its frame.
#include <QWidget>

class QLabel;

class AboutORV : public QWidget {
public:
    // Shows the window, loading it when it is not loaded. While it is open a second call only
    // brings it to the front, so there is never more than one; once the user has closed it the
    // next call loads a fresh one. Returns the window shown, owned by itself (it deletes itself
    // when closed).
    static AboutORV* ShowAbout();

    // The seven lines, in order: name, street, town and country, postal code, telephone, fax,
    // e-mail. Object names "Label1_0" .. "Label1_6"; the motto is "mandate0".
    static constexpr int LineCount = 7;

private:
    explicit AboutORV(QWidget* parent = nullptr);
    // Position, line break, motto.
    void Load();

    QLabel* mandate_;
};
