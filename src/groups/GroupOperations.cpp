#include "GroupOperations.h"

namespace groups {

namespace {

const QString kReadOpt = QStringLiteral("[1](200)");
const QString kEmptyOpt = QStringLiteral("[-1](200)");
const QString kWriteOpt = QStringLiteral("[1](1000)");

bool IsGroup(int gn) { return gn >= 0 && gn < kGroupCount; }

// The groups in the order an all-groups operation visits them: the others, then gn.
std::vector<int> GroupOrder(int selected)
{
    std::vector<int> order;
    for (int g = 0; g < kGroupCount; ++g)
        if (g != selected)
            order.push_back(g);
    if (IsGroup(selected))
        order.push_back(selected);
    return order;
}

} // namespace

std::vector<QueuedCommand> GroupCommands(GroupKind kind, GroupOp op, int selected,
                                         const TSearchGrpElement (&data)[kGroupCount])
{
    std::vector<QueuedCommand> out;
    if (op != GroupOp::WriteAll)
        out.emplace_back(QString(), kEmptyOpt);
    const bool one = op == GroupOp::ReadOne || op == GroupOp::WriteOne;
    std::vector<int> order = one ? std::vector<int>{} : GroupOrder(selected);
    if (one && IsGroup(selected))
        order.push_back(selected);
    for (int g : order) {
        if (op == GroupOp::ReadOne || op == GroupOp::ReadAll)
            out.emplace_back(CommandKey(kind) + QString::number(g), kReadOpt);
        else
            out.emplace_back(GroupLine(kind, g, data[g]), kWriteOpt);
    }
    return out;
}

bool IsAcknowledgement(const QString& line)
{
    return line == QLatin1String(" ") || line == QLatin1String("20 ");
}

GroupOperations::GroupOperations(GroupKind kind, CommandEngine& engine,
                                 TSearchGrpElement (&data)[kGroupCount])
    : kind_(kind), engine_(engine), data_(data)
{
}

OpButton GroupOperations::ButtonOf(GroupOp op) const
{
    const bool scan = kind_ == GroupKind::Scan;
    switch (op) {
    case GroupOp::ReadOne: return scan ? OpButton::ScanGrpReadButton : OpButton::SearchGrpReadButton;
    case GroupOp::ReadAll: return scan ? OpButton::ScanGrpAllReadButton : OpButton::SearchGrpAllReadButton;
    case GroupOp::WriteOne: return scan ? OpButton::ScanGrpWriteButton : OpButton::SearchGrpWriteButton;
    case GroupOp::WriteAll: break;
    }
    return scan ? OpButton::ScanGrpAllWriteButton : OpButton::SearchGrpAllWriteButton;
}

OpFamily GroupOperations::ReadFamily() const
{
    return kind_ == GroupKind::Scan ? OpFamily::ScanGrpRead : OpFamily::SearchGrpRead;
}

OpFamily GroupOperations::WriteFamily() const
{
    return kind_ == GroupKind::Scan ? OpFamily::ScanGrpWrite : OpFamily::SearchGrpWrite;
}

OpTab GroupOperations::Tab() const
{
    return kind_ == GroupKind::Scan ? OpTab::ScanGroup : OpTab::SearchGroup;
}

std::int32_t GroupOperations::BusyValue() const { return kind_ == GroupKind::Scan ? 1 : 3; }

int GroupOperations::Selected() const { return SelectedGroup ? SelectedGroup() : 0; }

bool GroupOperations::Start(GroupOp op)
{
    const int selected = Selected();
    if (!IsGroup(selected))
        return false;
    const bool started = engine_.StartOperation(
        ButtonOf(op), BusyValue(), {}, [&](CommandEngine& e) {
            // The queue is taken when the port is open, so a write carries the store of
            // that moment.
            for (const auto& [cmd, opt] : GroupCommands(kind_, op, selected, data_))
                e.AppendCommand(cmd, opt);
        });
    // The scan group page logs the progress line of its one-group operations at once.
    if (started && kind_ == GroupKind::Scan && (op == GroupOp::ReadOne || op == GroupOp::WriteOne))
        engine_.LogProgressText();
    return started;
}

bool GroupOperations::ReadRes_1Line(const QString& RxString)
{
    const int p = KeyStart(RxString, CommandKey(kind_));
    if (p >= 0) {
        Res_Group(RxString.mid(p));
        return true;
    }
    const QString& sent = engine_.SendedCommand();
    if (sent.isEmpty() && (RxString == QLatin1String("?") || RxString == QLatin1String("60?")))
        return true;
    return sent == QLatin1String("EX") && IsAcknowledgement(RxString);
}

bool GroupOperations::WriteRes_1Line(const QString& RxString)
{
    // A refusal is claimed like an acknowledgement; the receiver's line stays in the log.
    static const QStringList kClaimed = {QStringLiteral(" "), QStringLiteral("20 "), QStringLiteral("?"),
                                         QStringLiteral("30?"), QStringLiteral("50?"), QStringLiteral("60?")};
    return kClaimed.contains(RxString);
}

void GroupOperations::Res_Group(const QString& line)
{
    const auto answer = ParseGroupAnswer(kind_, line);
    if (!answer)
        return;  // a rejected answer keeps the group's previous record
    data_[answer->group] = answer->record;
    if (Display)
        Display(Selected());
}

QString GroupOperations::Make_BK_Param(int gn) const
{
    return LinkListText(Group(gn).Link);
}

const TSearchGrpElement& GroupOperations::Group(int gn) const
{
    static const TSearchGrpElement kNone{};
    return IsGroup(gn) ? data_[gn] : kNone;
}

TSearchGrpElement* GroupOperations::GroupAt(int gn)
{
    return IsGroup(gn) ? &data_[gn] : nullptr;
}

void GroupOperations::StoreLinks(int gn, const std::array<bool, kLinkBankCount>& linked)
{
    if (auto* g = GroupAt(gn))
        for (int b = 0; b < kLinkBankCount; ++b)
            SetLinkBit(*g, b, linked[b]);
}

void GroupOperations::StoreDelay(int gn, int index)
{
    if (auto* g = GroupAt(gn); g && index >= 0 && index <= 100)
        g->Delay = static_cast<std::uint8_t>(index);
}

void GroupOperations::StoreFree(int gn, int index)
{
    if (auto* g = GroupAt(gn); g && index >= 0 && index <= 60)
        g->Free = static_cast<std::uint8_t>(index);
}

void GroupOperations::StoreAutoStore(int gn, bool on)
{
    if (auto* g = GroupAt(gn))
        g->GrpFlag_AutoStore = on ? 1 : 0;
}

void GroupOperations::ClearAllLinks(int gn)
{
    if (auto* g = GroupAt(gn))
        ClearLinks(*g);
}

} // namespace groups
