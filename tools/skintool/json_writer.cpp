#include "json_writer.h"

#include <charconv>
#include <cstdio>

#include "framework/utf8.h"

namespace skintool {

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_.push_back(',');
        first_.back() = false;
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    out_.push_back('{');
    first_.push_back(true);
}

void JsonWriter::EndObject() {
    first_.pop_back();
    out_.push_back('}');
}

void JsonWriter::BeginArray() {
    BeforeValue();
    out_.push_back('[');
    first_.push_back(true);
}

void JsonWriter::EndArray() {
    first_.pop_back();
    out_.push_back(']');
}

void JsonWriter::Key(std::string_view name) {
    BeforeValue();
    WriteString(name);
    out_.push_back(':');
    afterKey_ = true;
}

void JsonWriter::Number(long long value) {
    BeforeValue();
    out_.append(std::to_string(value));
}

void JsonWriter::Number(double value) {
    BeforeValue();
    char buffer[32];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(ec == std::errc() ? std::string_view(buffer, static_cast<std::size_t>(end - buffer)) : "0");
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_.append(value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    out_.append("null");
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    WriteString(value);
}

void JsonWriter::WriteString(std::string_view value) {
    std::string text = framework::ValidUtf8(std::string(value));
    out_.push_back('"');
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_.push_back('\\');
            out_.push_back(c);
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out_.append(esc);
        } else {
            out_.push_back(c);
        }
    }
    out_.push_back('"');
}

}  // namespace skintool
