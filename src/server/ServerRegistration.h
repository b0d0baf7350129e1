#pragma once

#include "com/Guid.h"

#include <optional>
#include <string>
#include <string_view>

class Registry;

// The fixed identifiers of the online view server.
inline constexpr CLSID CLSID_OnlineView = MakeGuid("{058EE203-D6DF-448C-B4F5-43CB09699C19}");
inline constexpr GUID LIBID_VelaFFDiagnosisUILib =
    MakeGuid("{DEB12E96-ED04-4509-9E08-2BE78CB85306}");
inline constexpr GUID APPID_VelaFFOnlineUI = MakeGuid("{023555CC-8379-476D-BC96-BBBDE36691CD}");
inline constexpr IID IID_IOnlineView = MakeGuid("{4343B5D5-80F4-4C6A-97EB-59715547F044}");

inline constexpr std::string_view kOnlineViewProgId = "VelaFFDiagnosisUI.OnlineView.1";
// Where a site keeps the maker's web address for the alarm views' repair and help buttons.
inline constexpr std::string_view kMakerWebAddressKey = "Software\\Vela\\VelaFFDiagnosisUI";
inline constexpr std::string_view kMakerWebAddressValue = "MakerWebAddress";
// Where the views keep their settings from one session to the next (IViewSettings), one value
// each, by the name the view gives.
inline constexpr std::string_view kViewSettingsKey = "Software\\Vela\\VelaFFDiagnosisUI\\Settings";
inline constexpr std::string_view kOnlineViewVersionIndependentProgId =
    "VelaFFDiagnosisUI.OnlineView";

// The identifiers a registration writes: the control's class, its type library and the
// server's application id.
struct ServerIds {
    CLSID m_clsid;
    GUID m_libid;
    GUID m_appid;
};

inline constexpr ServerIds kOnlineViewServerIds{CLSID_OnlineView, LIBID_VelaFFDiagnosisUILib,
                                                APPID_VelaFFOnlineUI};

// Writes the server's registration into `registry` (in memory; the caller saves): the two
// ProgIDs, the class entry with `modulePath` as in-process server, and the application id.
// The class entry is replaced as a whole, so registering again leaves the same keys.
void RegisterServer(Registry& registry, const ServerIds& ids, std::string_view modulePath);

// Removes what RegisterServer wrote. The keys `CLSID` and `AppID` themselves stay, as they
// are shared with every other server.
void UnregisterServer(Registry& registry, const ServerIds& ids);

struct ResolvedServer {
    CLSID m_clsid;
    std::string m_modulePath;
};

// The class and library registered for `progId`. A ProgID with a current version (`CurVer`)
// resolves through that version. Nothing when the ProgID, its class or its in-process server
// is not registered.
std::optional<ResolvedServer> ResolveProgId(const Registry& registry, std::string_view progId);
