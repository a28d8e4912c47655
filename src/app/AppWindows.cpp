#include "AppWindows.h"

AppWindows::AppWindows()
    : formTerminal(formMain.CommX1),
      formMemory(formMain, formMain.CommX1, formTerminal),
      formMemChEdit(formMain),
      formSearchBankEdit(formMain),
      formOffsetFreq(formMain, formMemory.OffsetFreqChangedMark(),
                     [this] {
                         if (formMemory.OffsetListsRebuild)
                             formMemory.OffsetListsRebuild();
                     })
{
    formMain.setTerminal(&formTerminal);
    formMain.setDataWindow(&formMemory);
    formMemory.ConnectDialogs(formMemChEdit, formSearchBankEdit);
    formMemChEdit.SetOffsetListHook([this] { formOffsetFreq.show(); });
    formSearchBankEdit.SetOffsetListHook([this] { formOffsetFreq.show(); });
    // Closing any window but the main one only hides it.
    for (QWidget* w : std::initializer_list<QWidget*>{&formTerminal, &formMemory, &formMemChEdit,
                                                      &formSearchBankEdit, &formOffsetFreq})
        w->setAttribute(Qt::WA_QuitOnClose, false);
}

AppWindows::~AppWindows()
{
    // The port closes with its component; nothing may reach the terminal meanwhile.
    formMain.setTerminal(nullptr);
}
