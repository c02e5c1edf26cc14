#include "station/HeldState.h"

#include <array>
#include <charconv>

namespace {

using Field = std::string CarcassMeasurement::*;

// Every text field of a record, in a fixed order; the order is the journal's format.
constexpr std::array<Field, 39> kFields = {
    &CarcassMeasurement::timeDate,
    &CarcassMeasurement::carcassType,
    &CarcassMeasurement::carcassCount,
    &CarcassMeasurement::fat1,
    &CarcassMeasurement::fat2,
    &CarcassMeasurement::meat,
    &CarcassMeasurement::meat1,
    &CarcassMeasurement::meat1Indicator,
    &CarcassMeasurement::intrafat,
    &CarcassMeasurement::intrafat1,
    &CarcassMeasurement::thickness1,
    &CarcassMeasurement::distance1,
    &CarcassMeasurement::thickness2,
    &CarcassMeasurement::distance2,
    &CarcassMeasurement::meatPercent,
    &CarcassMeasurement::indicator,
    &CarcassMeasurement::carcassClass,
    &CarcassMeasurement::colour1,
    &CarcassMeasurement::colour2,
    &CarcassMeasurement::colourNumber,
    &CarcassMeasurement::minColour1,
    &CarcassMeasurement::minColour2,
    &CarcassMeasurement::colourVariation1,
    &CarcassMeasurement::colourVariation2,
    &CarcassMeasurement::pse,
    &CarcassMeasurement::rz7Colour1,
    &CarcassMeasurement::rz7Colour2,
    &CarcassMeasurement::rz7ColourGrade,
    &CarcassMeasurement::rz7Marble1,
    &CarcassMeasurement::rz7Marble2,
    &CarcassMeasurement::rz7MarbleGrade,
    &CarcassMeasurement::rz7PseNumber,
    &CarcassMeasurement::rz7PseIndicator,
    &CarcassMeasurement::rz7Tender,
    &CarcassMeasurement::rz7TenderGrade,
    &CarcassMeasurement::weight,
    &CarcassMeasurement::alertText,
    &CarcassMeasurement::comment,
    &CarcassMeasurement::serialNumber,
};

// Texts are bytes 0..255; TAB, LF, CR and the backslash are written as escapes so that one line
// holds one item.
std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return std::nullopt;
        }
    }
    return out;
}

std::vector<std::string_view> SplitTabs(std::string_view line)
{
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return parts;
        start = tab + 1;
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

std::string RecordLine(const char* tag, const CarcassMeasurement& record)
{
    std::string line = tag;
    line += '\t';
    line += record.kind == '\0' ? std::string() : Escape(std::string(1, record.kind));
    for (const Field field : kFields) {
        line += '\t';
        line += Escape(record.*field);
    }
    return line + '\n';
}

bool ParseRecord(const std::vector<std::string_view>& parts, size_t first, CarcassMeasurement& record)
{
    if (parts.size() != first + 1 + kFields.size())
        return false;
    const auto kind = Unescape(parts[first]);
    if (!kind || kind->size() > 1)
        return false;
    record.kind = kind->empty() ? '\0' : (*kind)[0];
    for (size_t i = 0; i < kFields.size(); ++i) {
        auto value = Unescape(parts[first + 1 + i]);
        if (!value)
            return false;
        record.*kFields[i] = std::move(*value);
    }
    return true;
}

} // namespace

bool HeldState::HoldsNothing() const
{
    return queue.count == 0 && unwritten.empty() && held.empty();
}

std::string SerializeHeldState(const HeldState& state)
{
    const PendingQueue& q = state.queue;
    std::string text = "queue\t" + std::to_string(q.writeIndex) + '\t' + std::to_string(q.readIndex) + '\t'
                       + std::to_string(q.count) + '\t' + (q.takenWeightReturnable ? "1" : "0") + '\n';
    for (int slot = 0; slot < PendingQueue::kSlots; ++slot) {
        const auto s = static_cast<size_t>(slot);
        if (!q.weights[s].empty())
            text += "weight\t" + std::to_string(slot) + '\t' + Escape(q.weights[s]) + '\n';
        if (!(q.carcasses[s] == CarcassMeasurement{}))
            text += RecordLine(("carcass\t" + std::to_string(slot)).c_str(), q.carcasses[s]);
    }
    text += std::string("current\t") + (state.current.lineIsMeasurement ? "1" : "0") + '\t'
            + (state.currentIgnoresNextCancel ? "1" : "0") + '\t' + (state.mainIgnoresNextCancel ? "1" : "0") + '\n';
    text += RecordLine("record", state.current.currentMeasurement);
    for (const UnwrittenLine& line : state.unwritten)
        text += std::string("unwritten\t") + (line.mayCreateFile ? "1" : "0") + '\t' + Escape(line.bytes) + '\n';
    for (const ReceivedMessage& message : state.held)
        text += "held\t" + std::to_string(message.seq) + '\t' + std::to_string(message.receivedMs) + '\t'
                + Escape(message.text) + '\n';
    text += "log\t" + std::to_string(state.logSize) + '\t' + Escape(state.logPath) + '\n';
    return text;
}

std::optional<HeldState> ParseHeldState(const std::string& text)
{
    HeldState state;
    bool sawQueue = false;
    bool sawRecord = false;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return std::nullopt; // every item ends its line: a cut text is no state
        const std::vector<std::string_view> parts = SplitTabs(std::string_view(text).substr(start, end - start));
        start = end + 1;
        const std::string_view tag = parts[0];
        PendingQueue& q = state.queue;
        int slot = -1;
        if (tag == "queue" && parts.size() == 5) {
            if (!ParseNumber(parts[1], q.writeIndex) || !ParseNumber(parts[2], q.readIndex)
                || !ParseNumber(parts[3], q.count))
                return std::nullopt;
            if (q.writeIndex < 0 || q.writeIndex >= PendingQueue::kSlots || q.readIndex < 0
                || q.readIndex >= PendingQueue::kSlots || q.count < 0 || q.count > PendingQueue::kSlots)
                return std::nullopt;
            q.takenWeightReturnable = parts[4] == "1";
            sawQueue = true;
        } else if (tag == "weight" && parts.size() == 3 && ParseNumber(parts[1], slot) && slot >= 0
                   && slot < PendingQueue::kSlots) {
            auto weight = Unescape(parts[2]);
            if (!weight)
                return std::nullopt;
            q.weights[static_cast<size_t>(slot)] = std::move(*weight);
        } else if (tag == "carcass" && parts.size() > 2 && ParseNumber(parts[1], slot) && slot >= 0
                   && slot < PendingQueue::kSlots) {
            if (!ParseRecord(parts, 2, q.carcasses[static_cast<size_t>(slot)]))
                return std::nullopt;
        } else if (tag == "current" && parts.size() == 4) {
            state.current.lineIsMeasurement = parts[1] == "1";
            state.currentIgnoresNextCancel = parts[2] == "1";
            state.mainIgnoresNextCancel = parts[3] == "1";
        } else if (tag == "record") {
            if (!ParseRecord(parts, 1, state.current.currentMeasurement))
                return std::nullopt;
            sawRecord = true;
        } else if (tag == "unwritten" && parts.size() == 3) {
            auto bytes = Unescape(parts[2]);
            if (!bytes)
                return std::nullopt;
            state.unwritten.push_back({std::move(*bytes), parts[1] == "1"});
        } else if (tag == "held" && parts.size() == 4) {
            ReceivedMessage message;
            auto held = Unescape(parts[3]);
            if (!held || !ParseNumber(parts[1], message.seq) || !ParseNumber(parts[2], message.receivedMs))
                return std::nullopt;
            message.text = std::move(*held);
            state.held.push_back(std::move(message));
        } else if (tag == "log" && parts.size() == 3) {
            auto path = Unescape(parts[2]);
            if (!path || !ParseNumber(parts[1], state.logSize))
                return std::nullopt;
            state.logPath = std::move(*path);
        } else {
            return std::nullopt;
        }
    }
    if (!sawQueue || !sawRecord)
        return std::nullopt;
    return state;
}
