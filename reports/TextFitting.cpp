#include "reports/TextFitting.h"

#include <algorithm>

namespace quillan {

namespace {

std::vector<std::string> wordsOf(const std::string& text) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < text.size()) {
        size_t begin = text.find_first_not_of(' ', at);
        if (begin == std::string::npos)
            break;
        size_t end = text.find(' ', begin);
        words.push_back(text.substr(begin, end == std::string::npos ? end : end - begin));
        at = end == std::string::npos ? text.size() : end;
    }
    return words;
}

} // namespace

FittedText fitText(const std::string& text, int size, int smallest, int width,
                   const TextWidthAt& widthAt) {
    for (int s = size; s >= smallest; --s)
        if (widthAt(text, s) <= width)
            return {text, s};
    smallest = std::min(size, smallest);
    std::string kept;
    for (const std::string& word : wordsOf(text)) {
        std::string longer = kept.empty() ? word : kept + " " + word;
        if (widthAt(longer, smallest) > width)
            break;
        kept = longer;
    }
    if (kept.empty()) {
        std::string first = text.substr(0, text.find(' ', text.find_first_not_of(' ')));
        while (!first.empty() && widthAt(first, smallest) > width)
            first.pop_back();
        kept = first;
    }
    return {kept, smallest};
}

FittedLines fitOrBreakAfter(char mark, const std::string& text, int size, int smallest, int width,
                            const TextWidthAt& widthAt) {
    FittedText fitted = fitText(text, size, smallest, width, widthAt);
    if (fitted.text == text)
        return {{text}, fitted.size};
    FittedLines broken{{}, std::min(size, smallest)};
    std::string line;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find(mark, at);
        end = end == std::string::npos ? text.size() : end + 1;
        std::string item = text.substr(at, end - at);
        at = end;
        if (!line.empty() && widthAt(line + item, broken.size) > width) {
            broken.lines.push_back(line);
            line.clear();
        }
        line += item;
    }
    if (!line.empty())
        broken.lines.push_back(line);
    return broken;
}

std::vector<std::string> wrapText(const std::string& text, int width,
                                  const std::function<int(const std::string&)>& widthOf) {
    if (widthOf(text) <= width)
        return {text};
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& word : wordsOf(text)) {
        std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && widthOf(longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace quillan
