// The yardstick of `quillmark-cli theme`: a theme made the way a small C
// maker makes one, with stdio and a byte-by-byte loop, and nothing else
// (no checks, no names, no atomic write). Usage:
//   theme_baseline OUT BASE.ptf STOCK EDITED [STOCK EDITED]...
// Each pair goes in as the entry /vsh/module/vshmain.prx, then paf.prx.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::vector<unsigned char> slurp(const char* path) {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen(path, "rb");
    if (!f)
        return bytes;
    std::fseek(f, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), 1, bytes.size(), f) != bytes.size())
        bytes.clear();
    std::fclose(f);
    return bytes;
}

std::uint32_t u32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5 || (argc - 3) % 2 != 0) {
        std::fprintf(stderr, "usage: theme_baseline OUT BASE.ptf STOCK EDITED [STOCK EDITED]...\n");
        return 1;
    }
    const std::vector<unsigned char> ptf = slurp(argv[2]);
    if (ptf.size() < 0x114)
        return 2;
    const std::uint32_t part = u32(&ptf[0x108]) ? u32(&ptf[0x108]) : std::uint32_t(ptf.size());
    std::vector<unsigned char> out(ptf.begin(), ptf.begin() + part);
    std::vector<unsigned char> index;
    const char* names[] = {"/vsh/module/vshmain.prx", "/vsh/module/paf.prx"};
    for (int m = 0; 3 + 2 * m < argc && m < 2; ++m) {
        const std::vector<unsigned char> stock = slurp(argv[3 + 2 * m]);
        const std::vector<unsigned char> edited = slurp(argv[4 + 2 * m]);
        if (stock.size() != edited.size() || stock.size() < 0x3C)
            return 2;
        const std::uint32_t first = u32(&stock[0x38]);
        const std::uint32_t start = static_cast<std::uint32_t>(out.size());
        std::uint32_t runs = 0;
        const std::size_t n = stock.size();
        for (std::size_t i = 0; i < n;) {
            if (stock[i] == edited[i]) {
                ++i;
                continue;
            }
            const std::size_t begin = i;
            while (i < n && stock[i] != edited[i])
                ++i;
            put32(out, static_cast<std::uint32_t>(begin - first));
            put32(out, static_cast<std::uint32_t>(i - begin));
            out.insert(out.end(), edited.begin() + static_cast<std::ptrdiff_t>(begin),
                       edited.begin() + static_cast<std::ptrdiff_t>(i));
            ++runs;
        }
        unsigned char record[72] = {};
        std::memcpy(record, names[m], std::strlen(names[m]));
        index.insert(index.end(), record, record + 64);
        put32(index, start);
        put32(index, runs);
    }
    out.insert(out.end(), index.begin(), index.end());
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size())
        return 2;
    return std::fclose(f) == 0 ? 0 : 2;
}
