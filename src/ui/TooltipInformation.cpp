#include "ui/TooltipInformation.h"

#include "xml/Xml.h"

#include <QFile>

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

CTooltipInformation::TooltipMap ReadTips(const xml::Document& document) {
    CTooltipInformation::TooltipMap tips;
    const xml::Node container = document.SelectSingle("//Tooltips");
    if (!container) {
        return tips;
    }
    for (const xml::Node& tip : container.SelectAll("Tip")) {
        tips.insert_or_assign(FromUtf8(tip.Attribute("./@key")),
                              FromUtf8(tip.Attribute("./@code")));
    }
    return tips;
}

bool Fail(QString* error, const QString& reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

} // namespace

bool CTooltipInformation::Load(const DtmValueQuery& dtmValue, QString* error) {
    const QString path = dtmValue ? dtmValue(QString::fromLatin1(PathValueName)) : QString();
    return LoadFile(path, error);
}

bool CTooltipInformation::LoadFile(const QString& path, QString* error) {
    if (path.isEmpty()) {
        return Fail(error, QStringLiteral("No tooltip information file is named"));
    }
    try {
        m_tooltips = ReadTips(xml::Document::ParseFile(QFile::encodeName(path).toStdString()));
        return true;
    } catch (const xml::XmlError& e) {
        return Fail(error, QStringLiteral("Tooltip information file not loaded: %1")
                               .arg(QString::fromUtf8(e.what())));
    }
}
