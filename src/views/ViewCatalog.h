#pragma once

class CViewTable;

// The device views of the online view: fills the view table with one row per view (view id,
// dialog id, creator). The control calls it once, so the edit model builds views by id
// without knowing any of them.
namespace ViewCatalog {
void RegisterViews(CViewTable& table);
} // namespace ViewCatalog
