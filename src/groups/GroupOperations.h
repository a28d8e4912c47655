// The read and write operations of one group page, its answer handlers and its edits of the
// store. Toolkit-free: the page supplies the selected group and the redraw through hooks.
#pragma once

#include "CommandEngine.h"
#include "GroupLines.h"
#include "Records.h"
#include "Store.h"

#include <QString>

#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace groups {

enum class GroupOp { ReadOne, ReadAll, WriteOne, WriteAll };

using QueuedCommand = std::pair<QString, QString>;  // command, option

// The commands an operation queues, in order: the empty command first (all but the
// write of every group), the other groups ascending, the selected group last.
std::vector<QueuedCommand> GroupCommands(GroupKind kind, GroupOp op, int selected,
                                         const TSearchGrpElement (&data)[kGroupCount]);

// The acknowledgement lines of the receiver.
bool IsAcknowledgement(const QString& line);

class GroupOperations {
public:
    GroupOperations(GroupKind kind, CommandEngine& engine, TSearchGrpElement (&data)[kGroupCount]);

    GroupKind Kind() const { return kind_; }
    OpButton ButtonOf(GroupOp op) const;
    OpFamily ReadFamily() const;
    OpFamily WriteFamily() const;
    OpTab Tab() const;
    std::int32_t BusyValue() const;

    // The item index of the page's group number list.
    std::function<int()> SelectedGroup;
    // Shows group gn on the page.
    std::function<void(int gn)> Display;

    // Starts op through the engine; false when refused as busy or the port did not open.
    bool Start(GroupOp op);

    // Answer handlers offered every line while a read or a write of this page runs.
    bool ReadRes_1Line(const QString& RxString);
    bool WriteRes_1Line(const QString& RxString);
    // Stores a group answer that starts with the key; a rejected answer changes nothing.
    void Res_Group(const QString& line);

    // The link list text of group gn.
    QString Make_BK_Param(int gn) const;

    // Edits of group gn; nothing is sent until a write runs.
    void StoreLinks(int gn, const std::array<bool, kLinkBankCount>& linked);
    void StoreDelay(int gn, int index);
    void StoreFree(int gn, int index);
    void StoreAutoStore(int gn, bool on);
    void ClearAllLinks(int gn);

    const TSearchGrpElement& Group(int gn) const;

private:
    TSearchGrpElement* GroupAt(int gn);
    int Selected() const;

    GroupKind kind_;
    CommandEngine& engine_;
    TSearchGrpElement (&data_)[kGroupCount];
};

} // namespace groups
