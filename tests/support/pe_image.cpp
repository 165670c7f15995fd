#include "pe_image.h"

#include <windows.h>

#include <cstring>

#include "file_bytes.h"

namespace tarnwick_test {

namespace {

struct Section {
    DWORD rva, size, raw;
};

class Reader {
  public:
    explicit Reader(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}
    template <typename T> bool At(size_t offset, T* out) const {
        if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T))
            return false;
        memcpy(out, &bytes_[offset], sizeof(T));
        return true;
    }
    std::string StringAt(size_t offset) const {
        std::string text;
        for (size_t i = offset; i < bytes_.size() && bytes_[i]; ++i)
            text += bytes_[i];
        return text;
    }

  private:
    std::vector<char> bytes_;
};

} // namespace

PeImage ReadPeImage(const std::string& path) {
    PeImage image;
    std::string bytes;
    if (!driving::ReadFileBytes(path, &bytes))
        return image;
    Reader r(bytes);

    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS64 nt;
    if (!r.At(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE ||
        !r.At(static_cast<size_t>(dos.e_lfanew), &nt) || nt.Signature != IMAGE_NT_SIGNATURE)
        return image;
    image.is_64bit = nt.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    if (!image.is_64bit)
        return image;

    std::vector<Section> sections;
    size_t table = static_cast<size_t>(dos.e_lfanew) +
                   offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                   nt.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER s;
        if (!r.At(table + i * sizeof s, &s))
            return image;
        sections.push_back(
            {s.VirtualAddress,
             s.Misc.VirtualSize > s.SizeOfRawData ? s.Misc.VirtualSize : s.SizeOfRawData,
             s.PointerToRawData});
    }
    auto offset_of = [&](DWORD rva) -> size_t {
        for (const Section& s : sections)
            if (rva >= s.rva && rva < s.rva + s.size)
                return rva - s.rva + s.raw;
        return static_cast<size_t>(-1);
    };

    const IMAGE_DATA_DIRECTORY& exp = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (exp.VirtualAddress) {
        IMAGE_EXPORT_DIRECTORY dir;
        if (r.At(offset_of(exp.VirtualAddress), &dir)) {
            for (DWORD i = 0; i < dir.NumberOfNames; ++i) {
                DWORD name_rva;
                if (r.At(offset_of(dir.AddressOfNames) + i * sizeof(DWORD), &name_rva))
                    image.exports.push_back(r.StringAt(offset_of(name_rva)));
            }
        }
    }
    const IMAGE_DATA_DIRECTORY& imp = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imp.VirtualAddress) {
        size_t at = offset_of(imp.VirtualAddress);
        IMAGE_IMPORT_DESCRIPTOR desc;
        while (r.At(at, &desc) && desc.Name) {
            image.imports.push_back(r.StringAt(offset_of(desc.Name)));
            at += sizeof desc;
        }
    }
    image.valid = true;
    return image;
}

} // namespace tarnwick_test
