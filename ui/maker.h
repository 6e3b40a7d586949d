#pragma once
// Who made the program, as the splash and the About window show it. Every value is invented: the
// telephone numbers are in the 555-01xx range kept for fiction and the mail domain is a reserved
// example domain, so nobody is reached by accident.
#include <QString>
#include <QStringList>

namespace maker {

inline constexpr const char* kName = "Valdrine Software";
inline constexpr const char* kStreet = "17 Lantern Row";
inline constexpr const char* kTownAndCountry = "Ashbury Cross, Freedonia";
inline constexpr const char* kPostalCode = "FD 4711";
inline constexpr const char* kTelephone = "Telephone 555-0142";
inline constexpr const char* kFax = "Fax 555-0143";
inline constexpr const char* kEMail = "hello@valdrine.example.org";

// The motto is three short lines; each window joins them with its own line break (CrLf).
inline constexpr const char* kMotto[] = {"One machine,", "many desktops,", "all in order."};

// The motto as one caption, "One machine," + lineBreak + "many desktops," + lineBreak + ...
inline QString MottoText(const QString& lineBreak) {
    QStringList lines;
    for (const char* line : kMotto) lines << QString::fromLatin1(line);
    return lines.join(lineBreak);
}

}  // namespace maker
