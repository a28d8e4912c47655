// "Offset Freq List": the 40 offset frequencies, entries 1..19 editable. Edits go to a
// temporary copy; OK puts the user's entries into the store and marks the list unsent.
// Modeless, created once at start-up after both edit dialogs, shown and hidden.
#pragma once

#include "Store.h"

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormOffsetFreq : public QDialog {
    Q_OBJECT
public:
    // offsetFreqChanged is the one mark shared with every write operation that sends the
    // list; rebuildOffsetLists rebuilds the offset lists of both edit dialogs.
    TFormOffsetFreq(TStore& store, bool& offsetFreqChanged, std::function<void()> rebuildOffsetLists,
                    QWidget* parent = nullptr);

    std::array<std::int32_t, kOffsetCount> OffsetTmp{};
    bool OffsetTmpChanged = false;
    bool& OffsetFreqChanged;

    std::array<QLabel*, kOffsetCount> OFLabels{};
    std::array<QLineEdit*, kOffsetCount> OFEdits{};  // OF00Edit .. OF39Edit
    QPushButton* BitBtn1 = nullptr;      // OK
    QPushButton* BitBtn2 = nullptr;      // CANCEL
    QPushButton* ClearButton = nullptr;  // "List Initialize", no action

    void FormCreate();
    void FormShow();
    void OffsetFreq_Init();
    void OffsetFreq_CopyToTmp();
    // Only the user's entries 1..19 go back: 0 is always 0 and 20..39 are the receiver's
    // fixed offsets, which a read may have refreshed while the dialog was open.
    void OffsetFreq_CopyFromTmp();
    void OffsetFreq_Display();
    // OF01EditExit .. OF19EditExit: one rule for entry nn.
    void OFEditExit(int nn);
    void BitBtn1Click();
    void BitBtn2Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TStore& store_;
    std::function<void()> rebuildOffsetLists_;
};
