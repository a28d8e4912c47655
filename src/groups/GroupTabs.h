// The "ScanGroup" and "SearchGroup" tabs of the data window. The frame constructs this once
// with its two pages, its engine, the store and its button registry.
#pragma once

#include "GroupPage.h"
#include "Store.h"

#include <QObject>

#include <cstdint>

namespace groups {

class GroupTabs : public QObject {
    Q_OBJECT
public:
    GroupTabs(QWidget* scanPage, QWidget* searchPage, CommandEngine& engine, TStore& store,
              const TabHooks& hooks, QObject* parent = nullptr);

    GroupPage& ScanGrp() { return scan_; }
    GroupPage& SearchGrp() { return search_; }

    // 1 while a page is being filled; the control handlers then do nothing.
    std::int32_t LinkChangeIgnore = 0;

    void ScanGrpTableDisplay(int gn) { scan_.TableDisplay(gn); }
    QString Make_MGBK_Param(int gn) const { return scan_.Ops().Make_BK_Param(gn); }
    bool ScanGrpReadRes_1Line(const QString& RxString) { return scan_.Ops().ReadRes_1Line(RxString); }
    bool ScanGrpWriteRes_1Line(const QString& RxString) { return scan_.Ops().WriteRes_1Line(RxString); }
    void ScanGrpRes_MG(const QString& line) { scan_.Ops().Res_Group(line); }
    void ScanGrpNoComboBoxChange() { scan_.NoComboBoxChange(); }
    void ScanGrpLink00CheckBoxClick() { scan_.Link00CheckBoxClick(); }
    void ScanGrpDelayComboBoxChange() { scan_.DelayComboBoxChange(); }
    void ScanGrpFreeComboBoxChange() { scan_.FreeComboBoxChange(); }
    void ScanGrpLinkClearButtonClick() { scan_.LinkClearButtonClick(); }
    void ScanGrpReadButtonClick() { scan_.ReadButtonClick(); }
    void ScanGrpAllReadButtonClick() { scan_.AllReadButtonClick(); }
    void ScanGrpWriteButtonClick() { scan_.WriteButtonClick(); }
    void ScanGrpAllWriteButtonClick() { scan_.AllWriteButtonClick(); }

    void SearchGrpTableDisplay(int gn) { search_.TableDisplay(gn); }
    QString Make_SGBK_Param(int gn) const { return search_.Ops().Make_BK_Param(gn); }
    bool SearchGrpReadRes_1Line(const QString& RxString) { return search_.Ops().ReadRes_1Line(RxString); }
    bool SearchGrpWriteRes_1Line(const QString& RxString) { return search_.Ops().WriteRes_1Line(RxString); }
    void SearchGrpRes_SG(const QString& line) { search_.Ops().Res_Group(line); }
    void SearchGrpNoComboBoxChange() { search_.NoComboBoxChange(); }
    void SearchGrpLink00CheckBoxClick() { search_.Link00CheckBoxClick(); }
    void SearchGrpDelayComboBoxChange() { search_.DelayComboBoxChange(); }
    void SearchGrpFreeComboBoxChange() { search_.FreeComboBoxChange(); }
    void SearchGrpStoreCheckBoxClick() { search_.StoreCheckBoxClick(); }
    void SearchGrpLinkClearButtonClick() { search_.LinkClearButtonClick(); }
    void SearchGrpReadButtonClick() { search_.ReadButtonClick(); }
    void SearchGrpAllReadButtonClick() { search_.AllReadButtonClick(); }
    void SearchGrpWriteButtonClick() { search_.WriteButtonClick(); }
    void SearchGrpAllWriteButtonClick() { search_.AllWriteButtonClick(); }

private:
    GroupPage scan_;
    GroupPage search_;
};

} // namespace groups
