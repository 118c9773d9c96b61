#include "files/decoder_sheet.h"

#include "foundation/windows_1252.h"
#include "model/cv_register_table.h"
#include "model/manufacturer_table.h"
#include "pages/accessory_rules.h"
#include "pages/function_map_rules.h"
#include "pages/locomotive_rules.h"

namespace {

constexpr char unknown[] = "\xE2\x80\x93"; // an en dash
constexpr int firstSpeedCv = 67;
constexpr int speedSteps = 28;
const char* const functionRows[functionMapRows] = {"FL Front", "FL Rear", "Func 1", "Func 2",
                                                   "Func 3",   "Func 4",  "Func 5", "Func 6",
                                                   "Func 7",   "Func 8"};

const char style[] =
    "@page{margin:10mm}"
    "body{font:8pt/1.25 'DejaVu Sans',Arial,sans-serif;color:#000;margin:0 auto;max-width:190mm}"
    "h1{font-size:15pt;margin:0 0 1mm}h2{font-size:9.5pt;margin:2.5mm 0 1mm;"
    "border-bottom:.3mm solid #000}"
    ".texts p{margin:0}.notes{white-space:pre-wrap}"
    ".columns{display:flex;gap:4mm}.columns>section{flex:1}"
    "table{border-collapse:collapse}td,th{padding:0 1.5mm;text-align:left;vertical-align:top}"
    "td.cv{color:#555;white-space:nowrap}"
    "svg{width:88mm;height:auto}svg text{font-size:9px}"
    ".grid td,.grid th{border:.2mm solid #999;text-align:center;padding:0 .8mm}"
    ".grid td.set{font-weight:bold}"
    ".cvs{columns:4;column-gap:4mm}.cvs div{break-inside:avoid;white-space:nowrap;"
    "overflow:hidden;text-overflow:ellipsis}.cvs b{display:inline-block;min-width:8mm}";

std::string escaped(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A text the program keeps, for the page.
std::string shown(const std::string& ansi) {
    return escaped(utf8FromWindows1252(ansi));
}

class Sheet {
  public:
    explicit Sheet(const DecoderFileContent& content) : content_(content) {}

    std::string html() {
        out_ = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/>";
        out_ += "<title>" + title() + "</title><style>" + std::string(style) +
                "</style></head>\n<body>\n";
        texts();
        out_ += "<div class=\"columns\">";
        basics();
        out_ += "<section id=\"speed-table\"><h2>Speed table</h2>";
        speedChart();
        out_ += "</section></div>\n";
        functionMap();
        out_ += "<div class=\"columns\">";
        consist();
        accessory();
        out_ += "</div>\n";
        allCvs();
        out_ += "</body></html>\n";
        return out_;
    }

  private:
    int value(int cv) const { return content_.entries[cv - 1]; }
    bool known(int cv) const { return value(cv) != unknownCvEntry; }
    std::string number(int cv) const { return known(cv) ? std::to_string(value(cv)) : unknown; }
    bool anyKnown(int first, int last) const {
        for (int cv = first; cv <= last; ++cv)
            if (known(cv))
                return true;
        return false;
    }

    std::string title() const {
        const std::string& name = content_.texts[decoderNameText];
        return name.empty() ? std::string("Decoder sheet") : shown(name);
    }

    void texts() {
        out_ += "<header class=\"texts\"><h1 id=\"decoder-name\">" + title() + "</h1>";
        out_ += "<p>Owner: <span id=\"owner\">" + shown(content_.texts[ownerText]) +
                "</span></p><p class=\"notes\" id=\"notes\">" + shown(content_.texts[notesText]) +
                "</p></header>\n";
    }

    // A row of words with the CVs it comes from.
    void row(const std::string& label, const std::string& words, const std::string& cvs) {
        out_ += "<tr><th>" + label + "</th><td>" + words + "</td><td class=\"cv\">" + cvs +
                "</td></tr>";
    }

    // A setting of CV 29 in words: the meaning of the bit clear, then set.
    std::string configBit(unsigned bit, const char* clear, const char* set) const {
        return known(29) ? ((value(29) >> bit) & 1 ? set : clear) : unknown;
    }

    std::string momentum(int cv) const {
        if (!known(cv))
            return unknown;
        const int steps = known(29)
                              ? LocomotiveRules::speedStepCount(static_cast<uint8_t>(value(29)))
                              : speedSteps;
        return std::to_string(value(cv)) + " (" +
               std::to_string(momentumToMilliseconds(value(cv), steps)) + " ms per speed step)";
    }

    void basics() {
        out_ += "<section id=\"basics\"><h2>Locomotive</h2><table>";
        row("Manufacturer",
            known(8) ? shown(manufacturerName(value(8))) + " (" + number(8) + ")" : unknown,
            "CV 8");
        row("Version", number(7), "CV 7");
        row("Short address", number(1), "CV 1");
        row("Long address",
            known(17) && known(18) ? std::to_string(joinLongAddress(value(17), value(18)))
                                   : unknown,
            "CV 17, 18");
        row("Address in use", configBit(5, "Short", "Long"), "CV 29");
        row("Direction", configBit(0, "Normal", "Reversed"), "CV 29");
        row("Speed steps", configBit(1, "14", "28"), "CV 29");
        row("Power conversion", configBit(2, "Disabled", "Enabled"), "CV 29");
        row("Advanced acknowledgement", configBit(3, "Disabled", "Enabled"), "CV 29");
        row("Speed table", configBit(4, "Normal", "Alternate"), "CV 29");
        row("Acceleration", momentum(3), "CV 3");
        row("Deceleration", momentum(4), "CV 4");
        row("Voltages",
            "start " + number(2) + ", mid " + number(6) + ", high " + number(5) + ", kick " +
                number(65),
            "CV 2, 6, 5, 65");
        row("Trims", "forward " + number(66) + ", reverse " + number(95), "CV 66, 95");
        row("EMF cutout", number(10), "CV 10");
        row("Packet timeout", number(11), "CV 11");
        row("Identifiers", "#1 " + number(105) + ", #2 " + number(106), "CV 105, 106");
        out_ += "</table></section>";
    }

    static std::string coordinate(int n) { return std::to_string(n); }

    void speedChart() {
        const int right = speedChartStepWidth * (speedSteps + 1);
        out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"-34 -10 " +
                coordinate(right + 40) + " 292\" role=\"img\" aria-label=\"Speed table\">";
        out_ += "<g stroke=\"#bbb\" stroke-width=\"0.5\">";
        for (int v : {0, 64, 128, 192, 255})
            out_ += "<line x1=\"0\" y1=\"" + coordinate(255 - v) + "\" x2=\"" + coordinate(right) +
                    "\" y2=\"" + coordinate(255 - v) + "\"/>";
        out_ += "</g><g class=\"axis\" text-anchor=\"end\">";
        for (int v : {0, 64, 128, 192, 255})
            out_ += "<text x=\"-4\" y=\"" + coordinate(258 - v) + "\">" + coordinate(v) + "</text>";
        out_ += "</g><g text-anchor=\"middle\">";
        for (int step : {1, 7, 14, 21, 28})
            out_ += "<text x=\"" + coordinate(speedChartStepWidth * step) + "\" y=\"268\">" +
                    coordinate(step) + "</text>";
        out_ += "<text x=\"" + coordinate(right / 2) + "\" y=\"280\">speed step</text></g>";
        out_ += "<path d=\"M0 0V255H" + coordinate(right) +
                "\" fill=\"none\" stroke=\"#000\" stroke-width=\"0.8\"/>";
        std::string points;
        std::string dots;
        for (int step = 1; step <= speedSteps; ++step) {
            const int cv = firstSpeedCv + step - 1;
            if (!known(cv))
                continue;
            const std::string x = coordinate(speedChartStepWidth * step);
            const std::string y = coordinate(255 - value(cv));
            points += (points.empty() ? "" : " ") + x + "," + y;
            dots += "<circle class=\"step\" cx=\"" + x + "\" cy=\"" + y + "\" r=\"2.5\"/>";
        }
        out_ += "<polyline points=\"" + points +
                "\" fill=\"none\" stroke=\"#06c\" stroke-width=\"1.5\"/><g fill=\"#06c\">" + dots +
                "</g></svg>";
        if (!anyKnown(firstSpeedCv, firstSpeedCv + speedSteps - 1))
            out_ += "<p>No speed table values are known.</p>";
    }

    void functionMap() {
        out_ += "<section id=\"function-map\"><h2>Function map</h2><table class=\"grid\">"
                "<tr><th>Output</th>";
        for (int output = functionMapOutputs; output >= 1; --output)
            out_ += "<th>" + coordinate(output) + "</th>";
        out_ += "<th>CV</th><th>Value</th></tr>";
        for (int row = 0; row < functionMapRows; ++row) {
            const int cv = 33 + row;
            out_ += "<tr><th>" + std::string(functionRows[row]) + "</th>";
            for (int column = functionMapOutputs - 1; column >= 0; --column) {
                const int bit = column - rowColumnOffset(row);
                const bool inRow = bit >= 0 && bit < functionMapBits;
                const bool set = inRow && known(cv) && (value(cv) >> bit) & 1;
                out_ += set     ? "<td class=\"set\">X</td>"
                        : inRow ? "<td>" + std::string(known(cv) ? "" : unknown) + "</td>"
                                : "<td class=\"none\"></td>";
            }
            out_ += "<td class=\"cv\">" + coordinate(cv) + "</td><td>" + number(cv) + "</td></tr>";
        }
        out_ += "</table></section>\n";
    }

    // The bits set, as "F1, F3" from names, or "none".
    std::string bitsSet(int cv, const char* const* names, int count) const {
        if (!known(cv))
            return unknown;
        std::string list;
        for (int bit = 0; bit < count; ++bit)
            if ((value(cv) >> bit) & 1)
                list += (list.empty() ? "" : ", ") + std::string(names[bit]);
        return list.empty() ? "none" : list;
    }

    void consist() {
        if (!anyKnown(19, 24))
            return;
        static const char* const functions[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8"};
        static const char* const lights[] = {"forward", "reverse"};
        out_ += "<section id=\"consist\"><h2>Consist</h2><table>";
        row("Consist address", known(19) ? coordinate(value(19) & 127) : unknown, "CV 19");
        row("Direction in consist", known(19) ? (value(19) & 128 ? "Reversed" : "Normal") : unknown,
            "CV 19");
        row("Functions active", bitsSet(21, functions, 8), "CV 21");
        row("Headlight active", bitsSet(22, lights, 2), "CV 22");
        row("Adjustments", "acceleration " + number(23) + ", deceleration " + number(24),
            "CV 23, 24");
        out_ += "</table></section>";
    }

    void accessory() {
        if (!anyKnown(513, 521))
            return;
        static const char* const outputs[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
        out_ += "<section id=\"accessory\"><h2>Accessory decoder</h2><table>";
        row("Address",
            known(513) && known(521)
                ? std::to_string(joinAccessoryAddress(static_cast<uint32_t>(value(513)),
                                                      static_cast<uint32_t>(value(521))))
                : unknown,
            "CV 513, 521");
        row("Aux activation", bitsSet(514, outputs, 8), "CV 514");
        row("Time on", number(515) + ", " + number(516) + ", " + number(517) + ", " + number(518),
            "CV 515 to 518");
        row("Version", number(519), "CV 519");
        row("Manufacturer",
            known(520) ? shown(manufacturerName(value(520))) + " (" + number(520) + ")" : unknown,
            "CV 520");
        out_ += "</table></section>";
    }

    void allCvs() {
        out_ += "<section id=\"all-cvs\"><h2>Every known CV</h2><div class=\"cvs\">";
        bool any = false;
        for (int cv = 1; cv <= decoderFileCvCount; ++cv) {
            if (!known(cv))
                continue;
            any = true;
            out_ += "<div class=\"cv\" id=\"cv" + coordinate(cv) + "\"><b>" + coordinate(cv) +
                    "</b> <span class=\"value\">" + number(cv) + "</span> " +
                    escaped(cvRegisterName(static_cast<uint32_t>(cv))) + "</div>";
        }
        out_ += "</div>";
        if (!any)
            out_ += "<p>No CV values are known.</p>";
        out_ += "</section>\n";
    }

    const DecoderFileContent& content_;
    std::string out_;
};

} // namespace

std::string decoderSheetHtml(const DecoderFileContent& content) {
    return Sheet(content).html();
}
