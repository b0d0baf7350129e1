#include "edit/ViewTable.h"

#include <utility>

bool CViewTable::Add(int viewId, int dialogId, Creator creator) {
    if (!creator) {
        return false;
    }
    return m_rows.try_emplace(viewId, SRow{dialogId, std::move(creator)}).second;
}

std::vector<int> CViewTable::GetViewIds() const {
    std::vector<int> ids;
    ids.reserve(m_rows.size());
    for (const auto& [id, row] : m_rows) {
        ids.push_back(id);
    }
    return ids;
}

int CViewTable::GetDialogId(int viewId) const {
    const auto row = m_rows.find(viewId);
    return row != m_rows.end() ? row->second.dialogId : 0;
}

std::unique_ptr<IApplicationView> CViewTable::Create(SViewContext context) const {
    const auto row = m_rows.find(context.viewId);
    if (row == m_rows.end()) {
        return nullptr;
    }
    context.dialogId = row->second.dialogId;
    return row->second.create(context);
}
