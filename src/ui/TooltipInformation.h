#pragma once

#include <QString>

#include <functional>
#include <map>

// The tooltip information file named by the DTM: maps each tooltip key the views use
// ("TT_COM_BN_SOUND") to the code under which the tooltip text is found.
//
//   <Tooltips>
//     <Tip key="TT_COM_BN_SOUND" code="..."/>
//   </Tooltips>
//
// The Tooltips element may sit anywhere in the document; a later Tip with the same key
// replaces an earlier one, and a missing attribute reads as the empty text.
class CTooltipInformation {
public:
    using TooltipMap = std::map<QString, QString>;
    // Answers one of the DTM's named values, the empty text when it has none. The control
    // adapts the DTM's property query to it.
    using DtmValueQuery = std::function<QString(const QString& name)>;

    static constexpr const char* PathValueName = "TooltipInformationPath";

    // Asks the DTM for "TooltipInformationPath" and loads that file. An exception of the
    // query passes through.
    bool Load(const DtmValueQuery& dtmValue, QString* error = nullptr);
    // Parses the file without validation and without loading external resources. On
    // failure (no path, missing file, not XML) answers false with the reason in `error`
    // and keeps the map loaded before.
    bool LoadFile(const QString& path, QString* error = nullptr);

    TooltipMap GetTooltips() const { return m_tooltips; }

private:
    TooltipMap m_tooltips;
};
