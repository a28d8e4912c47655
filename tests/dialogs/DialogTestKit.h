// Acting on the edit dialogs as a user would: clicking, typing, leaving a box, picking
// list items from the open drop-down.
#pragma once

#include "Store.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>
#include <type_traits>

namespace kit {

// Offsets 20..39 as the offset list dialog sets them at start-up.
inline void FillDefaultOffsets(TStore& store)
{
    static constexpr std::int32_t fixed[20] = {
        100000,   4000000,  4600000,  5000000,  8000000,  9000000,  10000000,
        15000000, 16000000, 16500000, 18000000, 18450000, 20000000, 24100000,
        37400000, 47200000, 48000000, 55000000, 126350000, 130000000};
    for (int n = 0; n < kOffsetCount; ++n)
        store.OffsetFreqTable[n] = n < 20 ? 0 : fixed[n - 20];
}

// A record with every byte zero, padding included, so memcmp compares only the fields.
template <class Rec>
Rec Zeroed()
{
    static_assert(std::is_trivially_copyable_v<Rec>);
    Rec r;
    std::memset(&r, 0, sizeof r);
    return r;
}

template <class Rec>
bool SameBytes(const Rec& a, const Rec& b)
{
    return std::memcmp(&a, &b, sizeof(Rec)) == 0;
}

inline bool ShowActive(QDialog& dlg)
{
    dlg.show();
    dlg.activateWindow();
    return QTest::qWaitForWindowActive(&dlg);
}

template <class T>
T* Find(QWidget& dlg, const char* name)
{
    return dlg.findChild<T*>(QLatin1String(name));
}

inline void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

// A check box reacts only on its box and caption, which may not reach its middle when the
// layout makes it wide: click on the box itself.
inline void Click(QCheckBox* box)
{
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// Clicks into the box, selects what it holds and types text over it (empty text erases).
inline void TypeInto(QLineEdit* box, const QString& text)
{
    Click(box);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Backspace);
    else
        QTest::keyClicks(box, text);
}

// Leaves the box the way a user does with the keyboard.
inline void Leave(QLineEdit* box)
{
    QTest::keyClick(box, Qt::Key_Tab);
}

inline void TypeAndLeave(QLineEdit* box, const QString& text)
{
    TypeInto(box, text);
    Leave(box);
}

// Opens the drop-down with a click and walks to the item at position index with the
// keyboard, then takes it with Enter. (A click into a freshly opened drop-down is ignored
// for a moment, so the keyboard is the dependable way in.)
inline bool Pick(QComboBox* box, int index)
{
    if (index < 0 || index >= box->count())
        return false;
    Click(box);
    QAbstractItemView* view = box->view();
    if (!view->isVisible())
        return false;
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    if (view->currentIndex().row() != index)
        return false;
    QTest::keyClick(view, Qt::Key_Return);
    return !view->isVisible();
}

inline bool Pick(QComboBox* box, const QString& item)
{
    return Pick(box, box->findText(item));
}

inline QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

}  // namespace kit
