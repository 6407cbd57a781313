// Draws the postage statement forms: for every form described in the description folder,
// the page images <form>_p1.bmp and <form>_p2.bmp and the coordinate file <form>.txt.
//
//   statement_forms DESCRIPTIONS_FOLDER OUTPUT_FOLDER

#include "reports/StatementForm.h"
#include "tools/statement-forms/FormDescription.h"
#include "tools/statement-forms/FormPainter.h"
#include "tools/statement-forms/MonoBmpWriter.h"

#include <QGuiApplication>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

namespace fs = std::filesystem;

namespace {

void writeCoordinates(const formgen::FormSpec& form, const fs::path& path) {
    std::ofstream out(path, std::ios::trunc);
    out << form.title << '\n';
    for (int n = 1; n <= 26; ++n) {
        const auto& place = *form.places[static_cast<size_t>(n)];
        out << place[0] << '\n' << place[1] << '\n';
    }
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::vector<formgen::FormSpec> readAll(const fs::path& folder) {
    std::vector<fs::path> families;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".form")
            families.push_back(entry.path());
    std::sort(families.begin(), families.end());
    std::vector<formgen::FormSpec> forms;
    for (const fs::path& family : families)
        for (formgen::FormSpec& form : formgen::readFamily(family.string()))
            forms.push_back(std::move(form));
    return forms;
}

// Every form the statement can choose is described exactly once.
void checkComplete(const std::vector<formgen::FormSpec>& forms) {
    std::multiset<std::string> described;
    for (const auto& form : forms)
        described.insert(form.name);
    for (const char* name : quillan::StatementFormNames)
        if (described.count(name) != 1)
            throw std::runtime_error(std::string("form ") + name + " is described " +
                                     std::to_string(described.count(name)) + " times");
    if (described.size() != quillan::StatementFormNames.size())
        throw std::runtime_error("a description names a form the statement never uses");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: statement_forms DESCRIPTIONS_FOLDER OUTPUT_FOLDER\n";
        return 2;
    }
    QGuiApplication app(argc, argv);
    try {
        fs::path output = argv[2];
        fs::create_directories(output);
        std::vector<formgen::FormSpec> forms = readAll(argv[1]);
        checkComplete(forms);
        for (const auto& form : forms) {
            for (int page = 0; page < 2; ++page)
                formgen::writeMonoBmp(
                    formgen::paintPage(form, page),
                    (output / (form.name + "_p" + std::to_string(page + 1) + ".bmp")).string());
            writeCoordinates(form, output / (form.name + ".txt"));
        }
    } catch (const std::exception& e) {
        std::cerr << "statement_forms: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
