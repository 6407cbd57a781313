#pragma once

#include "xls/ExcelFunctions.h"
#include "xls/NumberText.h"

#include <algorithm>
#include <cctype>
#include <random>
#include <string>
#include <vector>

namespace xls::test {

// Formulas drawn from the encoder's grammar, written as the decoder writes them back.
class FormulaGenerator {
public:
    // biff5: rows that fit BIFF5 tokens. plain: only what other formula compilers take too
    // (no 3-D references, names, arrays or errors; common functions).
    FormulaGenerator(unsigned seed, bool biff5, bool plain = false)
        : random_(seed), biff5_(biff5), plain_(plain) {}

    std::string formula() { return expression(0); }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    std::string cell() {
        int col = pick(208); // one letter, or two beginning A to G
        int row = pick(biff5_ ? 16384 : 65536);
        std::string text;
        if (pick(2))
            text += '$';
        if (col >= 26)
            text += static_cast<char>('A' + col / 26 - 1);
        text += static_cast<char>('A' + col % 26);
        if (pick(2))
            text += '$';
        return text + std::to_string(row + 1);
    }

    std::string constant() {
        switch (pick(plain_ ? 3 : 6)) {
        case 0:
            return std::to_string(pick(32768));
        case 1:
            return numberText(static_cast<double>(pick(100000)) / 64.0 + 0.5);
        case 2:
            return "\"" +
                   std::string(static_cast<size_t>(pick(6)), static_cast<char>('a' + pick(26))) +
                   "\"";
        case 3:
            return std::vector<std::string>{"#NULL!", "#DIV/0!", "#VALUE!", "#REF!",
                                            "#NAME?", "#NUM!",   "#N/A"}[static_cast<size_t>(
                pick(7))];
        case 4:
            return pick(2) ? "TRUE" : "FALSE";
        default:
            return "1E+20";
        }
    }

    std::string array() {
        int rows = 1 + pick(3), cols = 1 + pick(3);
        std::string text = "{";
        for (int r = 0; r < rows; ++r) {
            if (r)
                text += ';';
            for (int c = 0; c < cols; ++c) {
                if (c)
                    text += ',';
                int kind = pick(4);
                text += kind == 0   ? std::to_string(pick(1000))
                        : kind == 1 ? "\"s" + std::to_string(pick(9)) + "\""
                        : kind == 2 ? "-2.5"
                                    : "TRUE";
            }
        }
        return text + "}";
    }

    std::string function(int depth) {
        if (plain_) {
            static const char* common[] = {"SUM",   "AVERAGE", "MAX", "MIN", "ABS",
                                           "ROUND", "IF",      "LEN", "MID", "COUNT"};
            static const int counts[] = {3, 2, 2, 2, 1, 2, 3, 1, 3, 2};
            int which = pick(10);
            std::string text = std::string(common[which]) + "(";
            for (int i = 0; i < counts[which]; ++i)
                text += (i ? "," : "") + operand(depth + 1);
            return text + ")";
        }
        int number;
        do
            number = pick(ExcelFunctionCount);
        while (std::isdigit(static_cast<unsigned char>(excelFunction(number).name[0])));
        const ExcelFunction& f = excelFunction(number);
        int count = pick(2) ? f.minArgs : std::min<int>(f.maxArgs, 40);
        std::string text = std::string(f.name) + "(";
        for (int i = 0; i < count; ++i) {
            if (i)
                text += ',';
            text += operand(depth + 1);
        }
        return text + ")";
    }

    std::string operand(int depth) {
        int choice = pick(depth > 2 ? 5 : 9);
        if (plain_ && (choice == 2 || choice == 4 || choice == 8))
            choice = 0;
        if (plain_ && choice == 7)
            choice = 3; // other compilers refuse a minus before a minus
        switch (choice) {
        case 0:
            return cell();
        case 1:
            return cell() + ":" + cell();
        case 2:
            return "Sheet" + std::to_string(1 + pick(3)) + "!" + cell() +
                   (pick(2) ? ":" + cell() : "");
        case 3:
            return constant();
        case 4:
            return pick(4) ? constant() : array();
        case 5:
            return function(depth);
        case 6:
            return "(" + expression(depth + 1) + ")";
        case 7:
            return "-" + operand(depth + 1);
        default:
            return "Total";
        }
    }

    std::string expression(int depth) {
        static const char* operators[] = {"+", "-",  "*", "/", "^",  "&",
                                          "=", "<>", "<", ">", "<=", ">="};
        std::string text = operand(depth);
        int more = depth > 2 ? 0 : pick(3);
        for (int i = 0; i < more; ++i)
            text += std::string(operators[pick(12)]) + operand(depth + 1);
        return text;
    }

    std::mt19937 random_;
    bool biff5_;
    bool plain_;
};

} // namespace xls::test
