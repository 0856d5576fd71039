#include "core/prediction/BacktestSvg.h"

#include <algorithm>

#include "core/grid/GridHtml.h"
#include "core/grid/Palette.h"
#include "core/grid/PrintfText.h"

namespace n4 {

namespace {

constexpr int kWidth = 720, kHeight = 200;
constexpr int kLeft = 64, kRight = 12, kTop = 26, kBottom = 24;
constexpr std::size_t kMaxPoints = 600;
const char* const kLineColour = "#d00000";
const char* const kNothingPredicted = "この範囲では予想がありませんでした";

struct Scale {
    double x0, x1, y0, y1;
    double x(double drawNo) const {
        return kLeft + (x1 > x0 ? (drawNo - x0) / (x1 - x0) : 0.5) * (kWidth - kLeft - kRight);
    }
    double y(double v) const { return kTop + (y1 - v) / (y1 - y0) * (kHeight - kTop - kBottom); }
};

std::string xy(double x, double y) {
    return printfText("%.1f,%.1f ", x, y);
}

std::string text(double x, double y, const char* anchor, const std::string& s) {
    return printfText("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"%s\">", x, y, anchor) +
           htmlEscape(s) + "</text>";
}

std::string figure(double v) {
    return printfText("%.1f", v);
}

Scale scaleFor(const std::vector<ExcessPoint>& points) {
    Scale s{double(points.front().drawNo), double(points.back().drawNo), -1, 1};
    for (const ExcessPoint& p : points) {
        s.y0 = std::min({s.y0, p.excess, -2 * p.sigma});
        s.y1 = std::max({s.y1, p.excess, 2 * p.sigma});
    }
    return s;
}

std::string band(const std::vector<ExcessPoint>& points, const Scale& s) {
    std::string out = "<polygon fill=\"" + palette::ChartBand.hex() + "\" stroke=\"" +
                      palette::ChartLine.hex() + "\" points=\"";
    for (const ExcessPoint& p : points)
        out += xy(s.x(p.drawNo), s.y(2 * p.sigma));
    for (auto p = points.rbegin(); p != points.rend(); ++p)
        out += xy(s.x(p->drawNo), s.y(-2 * p->sigma));
    return out + "\"/>";
}

std::string line(const std::vector<ExcessPoint>& points, const Scale& s) {
    std::string out =
        std::string("<polyline fill=\"none\" stroke=\"") + kLineColour + "\" points=\"";
    for (const ExcessPoint& p : points)
        out += xy(s.x(p.drawNo), s.y(p.excess));
    return out + "\"/>";
}

std::string axes(const Scale& s) {
    const double bottom = kHeight - kBottom, right = kWidth - kRight;
    std::string out = "<path fill=\"none\" stroke=\"#000\" d=\"M" + xy(kLeft, kTop) + "L" +
                      xy(kLeft, bottom) + "L" + xy(right, bottom) + "\"/>";
    out += "<line stroke=\"#808080\" stroke-dasharray=\"4,3\" x1=\"" + figure(kLeft) + "\" x2=\"" +
           figure(right) + "\" y1=\"" + figure(s.y(0)) + "\" y2=\"" + figure(s.y(0)) + "\"/>";
    out += text(kLeft - 4, s.y(s.y1) + 4, "end", figure(s.y1));
    out += text(kLeft - 4, s.y(0) + 4, "end", "0");
    out += text(kLeft - 4, s.y(s.y0) + 4, "end", figure(s.y0));
    out += text(kLeft, bottom + 16, "start", "第" + std::to_string(int(s.x0)) + "回");
    out += text(right, bottom + 16, "end", "第" + std::to_string(int(s.x1)) + "回");
    return out;
}

} // namespace

std::string excessChartSvg(const BacktestResult& r, int method) {
    std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      std::to_string(kWidth) + "\" height=\"" + std::to_string(kHeight) +
                      "\" font-family=\"IPAGothic, sans-serif\" font-size=\"11\">";
    out += text(kLeft, 16, "start", r.methods[method].name);
    if (r.methods[method].draws == 0)
        return out + text(kWidth / 2.0, kHeight / 2.0, "middle", kNothingPredicted) + "</svg>";
    const std::vector<ExcessPoint> points = cumulativeExcess(r, method, kMaxPoints);
    const Scale s = scaleFor(points);
    return out + band(points, s) + axes(s) + line(points, s) + "</svg>";
}

} // namespace n4
