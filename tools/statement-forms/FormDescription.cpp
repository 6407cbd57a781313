#include "tools/statement-forms/FormDescription.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace formgen {

namespace {

struct Line {
    std::string file;
    int number = 0;
    std::vector<std::string> words; // quoted texts keep their blanks, lose their quotes
    std::vector<std::string> guard; // "permit", "affixed", "regular", "nonprofit"
};

[[noreturn]] void fail(const Line& line, const std::string& why) {
    throw std::runtime_error(line.file + ", line " + std::to_string(line.number) + ": " + why);
}

std::vector<std::string> splitWords(const std::string& text, const Line& where) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
        } else if (text[i] == '#') {
            break;
        } else if (text[i] == '"') {
            size_t end = text.find('"', i + 1);
            if (end == std::string::npos)
                fail(where, "a quoted text is not closed");
            words.push_back(text.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            size_t end = text.find_first_of(" \t", i);
            words.push_back(text.substr(i, end - i));
            i = end == std::string::npos ? text.size() : end;
        }
    }
    return words;
}

// The lines of a file with its "include" lines replaced by the included file's lines.
void readLines(const std::filesystem::path& path, std::vector<Line>& lines, int depth = 0) {
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        Line line{path.string(), number, {}, {}};
        line.words = splitWords(text, line);
        if (!line.words.empty() && line.words[0].front() == '[') {
            std::string guard = line.words[0];
            if (guard.back() != ']')
                fail(line, "a guard ends with ']'");
            std::istringstream parts(guard.substr(1, guard.size() - 2));
            for (std::string part; std::getline(parts, part, ',');)
                line.guard.push_back(part);
            line.words.erase(line.words.begin());
        }
        if (line.words.empty())
            continue;
        if (line.words[0] == "include" && line.words.size() == 2) {
            if (depth > 4)
                fail(line, "includes nest too deeply");
            readLines(path.parent_path() / line.words[1], lines, depth + 1);
            continue;
        }
        lines.push_back(std::move(line));
    }
}

bool selects(const Line& line, const FormSpec& form) {
    for (const std::string& g : line.guard) {
        bool holds = (g == "permit" && form.permit) || (g == "affixed" && !form.permit) ||
                     (g == "regular" && !form.nonprofit) || (g == "nonprofit" && form.nonprofit);
        if (!holds)
            return false;
    }
    return true;
}

double number(const Line& line, size_t i) {
    if (i >= line.words.size())
        fail(line, "a number is missing");
    try {
        size_t used = 0;
        double value = std::stod(line.words[i], &used);
        if (used == line.words[i].size())
            return value;
    } catch (const std::exception&) {
    }
    fail(line, "'" + line.words[i] + "' is not a number");
}

std::vector<double> numbers(const Line& line, size_t from, size_t count) {
    std::vector<double> values;
    for (size_t i = from; i < from + count; ++i)
        values.push_back(number(line, i));
    return values;
}

const std::string& textAt(const Line& line, size_t i) {
    if (i >= line.words.size())
        fail(line, "a text is missing");
    return line.words[i];
}

FormSpec formOf(const Line& line) {
    FormSpec form;
    form.name = textAt(line, 1);
    form.title = textAt(line, 2);
    for (size_t i = 3; i < line.words.size(); ++i) {
        const std::string& a = line.words[i];
        if (a == "affixed")
            form.permit = false;
        else if (a == "nonprofit")
            form.nonprofit = true;
        else if (a != "permit" && a != "regular")
            fail(line, "unknown form attribute '" + a + "'");
    }
    return form;
}

// Applies one drawing or place line to a form.
void apply(const Line& line, int page, FormSpec& form) {
    const std::string& verb = line.words[0];
    if (verb == "place") {
        int n = static_cast<int>(number(line, 1));
        if (n < 1 || n > 26)
            fail(line, "places run from 1 to 26");
        form.places[static_cast<size_t>(n)] = std::array<int, 2>{static_cast<int>(number(line, 2)),
                                                                 static_cast<int>(number(line, 3))};
        return;
    }
    if (page < 0)
        fail(line, "'" + verb + "' before any 'page' line");
    Item item;
    if (verb == "box") {
        item.kind = Item::Kind::Box;
        item.numbers = numbers(line, 1, 4);
        item.text = line.words.size() > 5 ? line.words[5] : "";
    } else if (verb == "text" || verb == "bold") {
        item.kind = Item::Kind::Text;
        item.bold = verb == "bold";
        item.numbers = numbers(line, 1, 3);
        item.text = textAt(line, 4);
    } else if (verb == "title") {
        item.kind = Item::Kind::Text;
        item.bold = true;
        item.numbers = numbers(line, 1, 3);
        item.text = form.title;
    } else if (verb == "line") {
        item.kind = Item::Kind::Line;
        item.numbers = numbers(line, 1, 4);
    } else if (verb == "tick") {
        item.kind = Item::Kind::Tick;
        item.numbers = numbers(line, 1, 2);
        item.text = line.words.size() > 3 ? line.words[3] : "";
    } else if (verb == "cells") {
        // cells X Y WIDTH HEIGHT OFFSET...
        item.kind = Item::Kind::Cells;
        item.numbers = numbers(line, 1, line.words.size() - 1);
        if (item.numbers.size() < 5)
            fail(line, "cells need a position, a size and at least one offset");
    } else if (verb == "section" || verb == "label") {
        // section LETTER LEFT TOTAL-Y "caption"; label LETTER ROW "text"
        item.kind = verb == "section" ? Item::Kind::Section : Item::Kind::Label;
        if (textAt(line, 1).size() != 1)
            fail(line, "a section is one letter");
        item.section = line.words[1][0];
        size_t count = item.kind == Item::Kind::Section ? 2 : 1;
        item.numbers = numbers(line, 2, count);
        item.text = textAt(line, 2 + count);
    } else {
        fail(line, "unknown line '" + verb + "'");
    }
    form.pages[static_cast<size_t>(page)].push_back(std::move(item));
}

} // namespace

std::vector<FormSpec> readFamily(const std::string& path) {
    std::vector<Line> lines;
    readLines(path, lines);
    std::vector<FormSpec> forms;
    for (const Line& line : lines)
        if (line.words[0] == "form")
            forms.push_back(formOf(line));
    for (FormSpec& form : forms) {
        int page = -1;
        for (const Line& line : lines) {
            if (line.words[0] == "form" || !selects(line, form))
                continue;
            if (line.words[0] == "page") {
                page = static_cast<int>(number(line, 1)) - 1;
                if (page != 0 && page != 1)
                    fail(line, "a form has pages 1 and 2");
                continue;
            }
            apply(line, page, form);
        }
        for (int n = 1; n <= 26; ++n)
            if (!form.places[static_cast<size_t>(n)])
                throw std::runtime_error(path + ": form " + form.name + " has no place " +
                                         std::to_string(n));
    }
    return forms;
}

} // namespace formgen
