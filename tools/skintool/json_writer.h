// A small streaming JSON writer: objects, arrays, numbers, Booleans and strings (bytes that
// are not valid UTF-8 are replaced, control characters escaped).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skintool {

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // Names the next value inside an object.
    void Key(std::string_view name);
    void Number(long long value);
    void Number(double value);
    void Bool(bool value);
    void String(std::string_view value);
    void Null();
    const std::string& Text() const { return out_; }

private:
    void BeforeValue();
    void WriteString(std::string_view value);
    std::string out_;
    std::vector<bool> first_;  // per open container: no member written yet
    bool afterKey_ = false;
};

}  // namespace skintool
