#include "plant/PlantHtml.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

std::string HtmlEscape(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        case '\r': break; // a CR LF is one line end in a page
        default:
            // Other control characters would make the page invalid; a line shows them as a symbol.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
                out += "\xEF\xBF\xBD";
            else
                out += c;
        }
    }
    return out;
}

std::string HtmlText(std::string_view latin1)
{
    return HtmlEscape(QString::fromLatin1(latin1.data(), qsizetype(latin1.size())).toUtf8().toStdString());
}

std::string StationPath(std::string_view latin1)
{
    return QString::fromLatin1(latin1.data(), qsizetype(latin1.size())).toUtf8().toPercentEncoding().toStdString();
}

std::string ClockTime(long long msSinceEpoch)
{
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch).toString(QStringLiteral("HH:mm:ss")).toStdString();
}

std::string OneDecimal(std::string_view number)
{
    if (number.empty())
        return {};
    // Qt's C-locale reading and writing: the program's locale may use a decimal comma.
    return QString::number(QByteArray(number.data(), qsizetype(number.size())).toDouble(), 'f', 1).toStdString();
}

std::string HtmlPage(const std::string& title, const std::string& body, std::optional<unsigned long long> live)
{
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"
           "<title>"
           + HtmlEscape(title)
           + "</title><link rel=\"stylesheet\" href=\"/plant.css\"><script src=\"/plant.js\" defer></script>"
             "</head><body><a class=\"skip\" href=\"#main\">Skip to the content</a>"
             "<p class=\"stale\" role=\"status\" hidden></p><main id=\"main\""
           + (live ? " data-live=\"" + std::to_string(*live) + "\"" : "") + ">" + body + "</main></body></html>\n";
}
