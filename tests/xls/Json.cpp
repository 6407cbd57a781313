#include "tests/xls/Json.h"

#include <cstdlib>
#include <stdexcept>

namespace xls::test {

namespace {

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    Json value() {
        skipBlanks();
        if (at_ >= text_.size())
            fail();
        char c = text_[at_];
        Json json;
        if (c == '{') {
            json.kind = Json::Kind::Object;
            ++at_;
            while (!take('}')) {
                skipBlanks();
                std::string key = stringValue();
                expect(':');
                json.object[key] = value();
                take(',');
            }
        } else if (c == '[') {
            json.kind = Json::Kind::Array;
            ++at_;
            while (!take(']')) {
                json.array.push_back(value());
                take(',');
            }
        } else if (c == '"') {
            json.kind = Json::Kind::String;
            json.string = stringValue();
        } else if (text_.compare(at_, 4, "true") == 0 || text_.compare(at_, 5, "false") == 0) {
            json.kind = Json::Kind::Boolean;
            json.boolean = c == 't';
            at_ += json.boolean ? 4 : 5;
        } else if (text_.compare(at_, 4, "null") == 0) {
            at_ += 4;
        } else {
            json.kind = Json::Kind::Number;
            char* end = nullptr;
            json.number = std::strtod(text_.c_str() + at_, &end);
            if (end == text_.c_str() + at_)
                fail();
            at_ = static_cast<size_t>(end - text_.c_str());
        }
        return json;
    }

    void end() {
        skipBlanks();
        if (at_ != text_.size())
            fail();
    }

private:
    [[noreturn]] void fail() const {
        throw std::runtime_error("not JSON at byte " + std::to_string(at_));
    }

    void skipBlanks() {
        while (at_ < text_.size() && std::string(" \t\r\n").find(text_[at_]) != std::string::npos)
            ++at_;
    }

    bool take(char c) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!take(c))
            fail();
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string stringValue() {
        expect('"');
        std::string out;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size())
                fail();
            char escaped = text_[at_++];
            switch (escaped) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'u':
                if (at_ + 4 > text_.size())
                    fail();
                appendUtf8(out,
                           static_cast<unsigned>(std::stoul(text_.substr(at_, 4), nullptr, 16)));
                at_ += 4;
                break;
            default:
                out += escaped;
            }
        }
        expect('"');
        return out;
    }

    const std::string& text_;
    size_t at_ = 0;
};

} // namespace

const Json& Json::operator[](const std::string& key) const {
    static const Json none;
    auto found = object.find(key);
    return found == object.end() ? none : found->second;
}

Json Json::parse(const std::string& text) {
    Parser parser(text);
    Json json = parser.value();
    parser.end();
    return json;
}

} // namespace xls::test
