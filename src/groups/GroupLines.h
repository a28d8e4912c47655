// Group lines, link list text and group answers. Toolkit-free (QtCore strings only).
#pragma once

#include "Records.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace groups {

constexpr int kLinkBankCount = 40;

// Scan groups link memory banks with "MG"; search groups link search banks with "SG"
// and also carry the auto-store flag ("AS").
enum class GroupKind { Scan, Search };

QString CommandKey(GroupKind kind);

bool LinkBit(const TSearchGrpElement& g, int bank);
void SetLinkBit(TSearchGrpElement& g, int bank, bool on);
void ClearLinks(TSearchGrpElement& g);

// The line that writes group gn, e.g. "MG3 DL007 FR05 BK0105" or "SG4 DL020 FR10 AS1 BK99".
QString GroupLine(GroupKind kind, int gn, const TSearchGrpElement& g);

// A parsed group answer: the group it names and the record that replaces it.
struct GroupAnswer {
    int group = -1;
    TSearchGrpElement record{};
};

// Parses an answer line that starts with the kind's key. Returns nothing when the group
// number, a key or a value is unusable; the caller then leaves the store alone.
std::optional<GroupAnswer> ParseGroupAnswer(GroupKind kind, QStringView line);

// Position (0-based) of the key when the line begins with it: its first occurrence is at
// character 1 or 3 (up to two characters may stand before it); -1 otherwise.
int KeyStart(QStringView line, QStringView key);

} // namespace groups
