#include "GroupTabs.h"

namespace groups {

GroupTabs::GroupTabs(QWidget* scanPage, QWidget* searchPage, CommandEngine& engine, TStore& store,
                     const TabHooks& hooks, QObject* parent)
    : QObject(parent),
      scan_(GroupKind::Scan, scanPage, engine, store.ScanGrpData, LinkChangeIgnore, hooks),
      search_(GroupKind::Search, searchPage, engine, store.SearchGrpData, LinkChangeIgnore, hooks)
{
    setObjectName(QStringLiteral("GroupTabs"));
}

} // namespace groups
