#include "store/log_index.h"

#include <string>

#include "files/text_file.h"
#include "store/page_files.h"

namespace velnora::store {

int ReadLogIndex(std::string_view page_directory) {
    auto path = PagePath(page_directory, kIndexFile);
    if (!path) {
        return 0;
    }
    files::TextReader reader;
    std::string line;
    if (!reader.Open(*path) || !reader.ReadLine(line, 261)) {
        return 0;
    }
    int value = 0;
    for (char c : line) {
        if (c < '0' || c > '9') {
            break;
        }
        if (value > 100000000) {
            break;  // no ring has that many slots; stop before the number overflows
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

void WriteLogIndex(std::string_view page_directory, int n) {
    auto path = PagePath(page_directory, kIndexFile);
    if (!path) {
        return;
    }
    files::TextWriter writer;
    if (writer.Open(*path)) {
        writer.Write(std::to_string(n));
        writer.Close();
    }
}

}  // namespace velnora::store
