#include "platform/wildcard.h"

namespace platform {

namespace {

bool SameChar(QChar a, QChar b) {
    if (a == b) return true;
    return QChar::toCaseFolded(a.unicode()) == QChar::toCaseFolded(b.unicode());
}

// Iterative match with one backtrack point: linear in practice, never exponential.
bool Match(const QChar* p, int pn, const QChar* s, int sn) {
    int pi = 0, si = 0, starP = -1, starS = 0;
    while (si < sn) {
        if (pi < pn && p[pi] == u'*') {
            starP = pi++;
            starS = si;
        } else if (pi < pn && (p[pi] == u'?' || SameChar(p[pi], s[si]))) {
            ++pi;
            ++si;
        } else if (starP >= 0) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < pn && p[pi] == u'*') ++pi;
    return pi == pn;
}

}  // namespace

bool HasWildcards(const QString& pattern) {
    return pattern.contains(u'*') || pattern.contains(u'?');
}

bool DosMatch(const QString& pattern, const QString& name) {
    if (pattern == QLatin1String("*.*") || pattern == QLatin1String("*")) return true;
    if (Match(pattern.constData(), pattern.size(), name.constData(), name.size())) return true;
    // "x.*" also matches "x": the dot and an empty extension are implied.
    if (pattern.endsWith(QLatin1String(".*")) && !name.contains(u'.'))
        return Match(pattern.constData(), pattern.size() - 2, name.constData(), name.size());
    return false;
}

}  // namespace platform
