#include "interaction/PointerReadout.h"

#include "core/NumberText.h"

namespace sabrix {

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

std::pair<QString, QString> PlotReadout(double x, double y, double jdFirst) {
    // The mouse delivers single-precision coordinates.
    const double jd = static_cast<double>(static_cast<float>(x)) + jdFirst;
    const double mag = RoundHalfEven(static_cast<double>(static_cast<float>(y)), 2);
    return {QStringLiteral("JD = ") + Text(FormatFixed(jd, 7, 4)),
            QStringLiteral("  Mag = ") + Text(FormatDouble(mag))};
}

std::pair<QString, QString> JDScaleReadout(double jd) {
    return {QStringLiteral("JD = ") + Text(FormatSingle(static_cast<float>(jd))), QString()};
}

std::pair<QString, QString> MagScaleReadout(double mag) {
    return {QString(), QStringLiteral("Mag = ") + Text(FormatSingle(static_cast<float>(mag)))};
}

}  // namespace sabrix
