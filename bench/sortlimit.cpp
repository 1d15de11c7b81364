// SPDX-License-Identifier: GPL-3.0-or-later
// The limit of sorting names: every file name of a tree (listed first, untimed) given its ICU sort
// key (Chinese collation, numbers by value, case ignored), then sorted by the keys.
//   sortlimit DIR   prints the seconds of keys and sort, the files, and the seconds of the sort alone
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> names;

void walk(const std::string& dir)
{
    DIR* d = opendir(dir.c_str());
    if (!d)
        return;
    while (const dirent* e = readdir(d)) {
        if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, ".."))
            continue;
        if (e->d_type == DT_DIR)
            walk(dir + '/' + e->d_name);
        else
            names.emplace_back(e->d_name);
    }
    closedir(d);
}

double now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    walk(argv[1]);
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("zh_CN", &status);
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
    ucol_setStrength(collator, UCOL_SECONDARY);
    if (U_FAILURE(status))
        return 1;
    const double start = now();
    std::vector<std::string> keys(names.size());
    std::vector<UChar> text;
    uint8_t key[1024];
    for (size_t i = 0; i < names.size(); ++i) {
        int32_t length = 0;
        text.resize(names[i].size() + 1);
        u_strFromUTF8(text.data(), int32_t(text.size()), &length, names[i].c_str(), int32_t(names[i].size()),
                      &status);
        const int32_t n = ucol_getSortKey(collator, text.data(), length, key, sizeof key);
        keys[i].assign(reinterpret_cast<const char*>(key), size_t(std::min<int32_t>(n, sizeof key)));
    }
    const double sortStart = now();
    std::vector<unsigned> order(names.size());
    for (unsigned i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](unsigned a, unsigned b) { return keys[a] < keys[b]; });
    const double end = now();
    std::printf("%.6f\t%zu\t%.6f\n", end - start, names.size(), end - sortStart);
    ucol_close(collator);
    return 0;
}
