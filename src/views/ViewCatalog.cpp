#include "views/ViewCatalog.h"

#include "edit/ViewTable.h"

namespace ViewCatalog {

void RegisterViews(CViewTable& table) {
    // Each device view adds its row here: table.Add(viewId, dialogId, creator).
    static_cast<void>(table);
}

} // namespace ViewCatalog
