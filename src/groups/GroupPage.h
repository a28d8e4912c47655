// One group page ("ScanGroup" or "SearchGroup"): its controls, their handlers and the
// filling of the page from the store. The operations and answers live in GroupOperations.
#pragma once

#include "CommandEngine.h"
#include "GroupOperations.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QPushButton;
class QWidget;

namespace groups {

// What the data window frame offers a tab: its button registry (the frame mirrors enabled
// state and the Tag property onto registered buttons and wires each Abort button).
struct TabHooks {
    std::function<void(OpButton, QPushButton*)> registerButton;
    std::function<void(OpTab, QPushButton*)> registerAbort;
};

class GroupPage : public QObject {
    Q_OBJECT
public:
    // Builds the controls on page. linkChangeIgnore is shared by both group pages.
    GroupPage(GroupKind kind, QWidget* page, CommandEngine& engine,
              TSearchGrpElement (&data)[kGroupCount], std::int32_t& linkChangeIgnore,
              const TabHooks& hooks, QObject* parent = nullptr);

    GroupOperations& Ops() { return ops_; }
    const GroupOperations& Ops() const { return ops_; }
    int SelectedGroup() const;

    // Shows group gn: check boxes, delay, free (and "Store" on the search group page).
    void TableDisplay(int gn);

    void NoComboBoxChange();
    void Link00CheckBoxClick();  // the handler of all forty link check boxes
    void DelayComboBoxChange();
    void FreeComboBoxChange();
    void StoreCheckBoxClick();
    void LinkClearButtonClick();
    void ReadButtonClick() { ops_.Start(GroupOp::ReadOne); }
    void AllReadButtonClick() { ops_.Start(GroupOp::ReadAll); }
    void WriteButtonClick() { ops_.Start(GroupOp::WriteOne); }
    void AllWriteButtonClick() { ops_.Start(GroupOp::WriteAll); }

    QComboBox* NoComboBox = nullptr;
    std::array<QCheckBox*, kLinkBankCount> LinkCheckBoxes{};
    QComboBox* DelayComboBox = nullptr;
    QComboBox* FreeComboBox = nullptr;
    QCheckBox* StoreCheckBox = nullptr;  // search group page only
    QPushButton* ReadButton = nullptr;
    QPushButton* AllReadButton = nullptr;
    QPushButton* WriteButton = nullptr;
    QPushButton* AllWriteButton = nullptr;
    QPushButton* AbortButton = nullptr;
    QPushButton* LinkClearButton = nullptr;

private:
    void BuildControls(QWidget* page);
    void ConnectControls();
    void RegisterButtons(const TabHooks& hooks);
    QString Prefix() const;

    GroupOperations ops_;
    std::int32_t& linkChangeIgnore_;
};

// Item texts of the delay list (101) and the free list (61).
QStringList DelayItems();
QStringList FreeItems();

} // namespace groups
