// SPDX-License-Identifier: MIT
#include "ui/natural_order.h"

#include "frame/text/ascii.h"

#include <QFile>
#include <QString>
#include <algorithm>

namespace stepwell {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The end of the run of digits that starts at `at`.
std::size_t digitsEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

// Compares two runs of digits by the numbers they write, however long.
int compareNumbers(std::string_view a, std::string_view b) {
    a.remove_prefix(std::min(a.find_first_not_of('0'), a.size()));
    b.remove_prefix(std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

int compareNaturally(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            const std::size_t aEnd = digitsEnd(a, i), bEnd = digitsEnd(b, j);
            if (const int order = compareNumbers(a.substr(i, aEnd - i), b.substr(j, bEnd - j)))
                return order;
            i = aEnd;
            j = bEnd;
            continue;
        }
        if (a[i] != b[j])
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]) ? -1 : 1;
        ++i;
        ++j;
    }
    // The name that goes on after the other comes after it.
    return int(i < a.size()) - int(j < b.size());
}

std::string naturalSortKey(std::string_view name) {
    // Most names are ASCII, and folding them needs no decoding.
    if (std::all_of(name.begin(), name.end(), [](char c) { return (c & 0x80) == 0; }))
        return lowerAscii(name);
    return QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())))
        .toCaseFolded()
        .toStdString();
}

void sortNaturally(std::vector<std::string>& names) {
    struct Entry {
        std::string key;
        std::string name;
    };
    std::vector<Entry> entries;
    entries.reserve(names.size());
    for (std::string& name : names)
        entries.push_back({naturalSortKey(name), std::move(name)});
    std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
        const int byKey = compareNaturally(x.key, y.key);
        return byKey != 0 ? byKey < 0 : x.name < y.name;
    });
    for (std::size_t i = 0; i < entries.size(); ++i)
        names[i] = std::move(entries[i].name);
}

} // namespace stepwell
