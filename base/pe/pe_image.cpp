#include "pe_image.h"

#include <windows.h>

#include <cstring>

namespace {

// A host UI library holds tens of thousands of exports and is large: only the headers
// and the two tables are read, each in one piece, and a table larger than this is
// taken for a damaged file.
enum : unsigned long long { TableBytesMax = 64ull * 1024 * 1024 };
const size_t NameBytesMax = 4096;

struct Section {
    DWORD rva, size, raw;
};

class PeFile {
  public:
    explicit PeFile(const std::string& path) {
        file_ = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) {
            error_ = GetLastError();
            return;
        }
        LARGE_INTEGER size = {};
        if (GetFileSizeEx(file_, &size))
            size_ = static_cast<unsigned long long>(size.QuadPart);
    }
    ~PeFile() {
        if (file_ != INVALID_HANDLE_VALUE)
            CloseHandle(file_);
    }
    PeFile(const PeFile&) = delete;
    PeFile& operator=(const PeFile&) = delete;

    bool Opened() const { return file_ != INVALID_HANDLE_VALUE; }
    unsigned long Error() const { return error_; }

    bool Read(unsigned long long offset, void* out, size_t bytes) const {
        if (offset > size_ || size_ - offset < bytes)
            return false;
        LARGE_INTEGER at = {};
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD got = 0;
        return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) &&
               ReadFile(file_, out, static_cast<DWORD>(bytes), &got, nullptr) && got == bytes;
    }
    template <typename T> bool At(unsigned long long offset, T* out) const {
        return Read(offset, out, sizeof(T));
    }
    // The bytes from offset to the end of the file, at most `bytes` of them.
    std::string Span(unsigned long long offset, unsigned long long bytes) const {
        if (offset >= size_ || bytes > TableBytesMax)
            return std::string();
        if (bytes > size_ - offset)
            bytes = size_ - offset;
        std::string data(static_cast<size_t>(bytes), '\0');
        if (!Read(offset, &data[0], data.size()))
            data.clear();
        return data;
    }

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    unsigned long long size_ = 0;
    unsigned long error_ = 0;
};

const unsigned long long NotMapped = ~0ull;

// A table read in one piece, and the names it points at: within the piece when they lie
// there (as linkers put them), otherwise read from the file one by one.
class Table {
  public:
    Table(const PeFile& file, const std::vector<Section>& sections, DWORD rva,
          unsigned long long size)
        : file_(file), sections_(sections), rva_(rva) {
        unsigned long long offset = OffsetOf(rva);
        if (offset != NotMapped)
            bytes_ = file.Span(offset, size);
    }
    unsigned long long OffsetOf(DWORD rva) const {
        for (const Section& s : sections_)
            if (rva >= s.rva && rva - s.rva < s.size)
                return static_cast<unsigned long long>(rva - s.rva) + s.raw;
        return NotMapped;
    }
    template <typename T> bool At(DWORD rva, T* out) const {
        if (rva >= rva_ && rva - rva_ <= bytes_.size() &&
            bytes_.size() - (rva - rva_) >= sizeof(T)) {
            memcpy(out, bytes_.data() + (rva - rva_), sizeof(T));
            return true;
        }
        unsigned long long offset = OffsetOf(rva);
        return offset != NotMapped && file_.At(offset, out);
    }
    std::string StringAt(DWORD rva) const {
        if (rva >= rva_ && rva - rva_ < bytes_.size()) {
            const char* start = bytes_.data() + (rva - rva_);
            size_t room = bytes_.size() - (rva - rva_);
            return std::string(start, strnlen(start, room < NameBytesMax ? room : NameBytesMax));
        }
        unsigned long long offset = OffsetOf(rva);
        if (offset == NotMapped)
            return std::string();
        std::string text = file_.Span(offset, NameBytesMax);
        return text.substr(0, strnlen(text.c_str(), text.size()));
    }

  private:
    const PeFile& file_;
    const std::vector<Section>& sections_;
    DWORD rva_;
    std::string bytes_;
};

} // namespace

PeImage ReadPeImage(const std::string& path) {
    PeImage image;
    PeFile file(path);
    if (!file.Opened()) {
        image.error = file.Error();
        return image;
    }
    IMAGE_DOS_HEADER dos;
    IMAGE_NT_HEADERS64 nt;
    if (!file.At(0, &dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0 ||
        !file.At(static_cast<unsigned long long>(dos.e_lfanew), &nt) ||
        nt.Signature != IMAGE_NT_SIGNATURE)
        return image;
    image.is_64bit = nt.OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    if (!image.is_64bit)
        return image;

    std::vector<Section> sections;
    unsigned long long headers = static_cast<unsigned long long>(dos.e_lfanew) +
                                 offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                 nt.FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
        IMAGE_SECTION_HEADER s;
        if (!file.At(headers + i * sizeof s, &s))
            return image;
        sections.push_back(
            {s.VirtualAddress,
             s.Misc.VirtualSize > s.SizeOfRawData ? s.Misc.VirtualSize : s.SizeOfRawData,
             s.PointerToRawData});
    }

    const IMAGE_DATA_DIRECTORY& exp = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (exp.VirtualAddress) {
        Table table(file, sections, exp.VirtualAddress, exp.Size);
        IMAGE_EXPORT_DIRECTORY dir;
        if (!table.At(exp.VirtualAddress, &dir))
            return image;
        unsigned long long name_bytes = 1ull * dir.NumberOfNames * sizeof(DWORD);
        if (name_bytes > TableBytesMax)
            return image;
        Table names(file, sections, dir.AddressOfNames, name_bytes);
        for (DWORD i = 0; i < dir.NumberOfNames; ++i) {
            DWORD name_rva = 0;
            if (!names.At(dir.AddressOfNames + i * sizeof(DWORD), &name_rva))
                return image;
            image.exports.push_back(table.StringAt(name_rva));
        }
    }
    const IMAGE_DATA_DIRECTORY& imp = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imp.VirtualAddress) {
        Table table(file, sections, imp.VirtualAddress, imp.Size);
        // The table ends with an empty descriptor; a damaged one ends with the bytes given.
        IMAGE_IMPORT_DESCRIPTOR desc;
        DWORD count = imp.Size / sizeof desc;
        for (DWORD i = 0;
             i < count && table.At(imp.VirtualAddress + i * sizeof desc, &desc) && desc.Name; ++i)
            image.imports.push_back(table.StringAt(desc.Name));
    }
    image.valid = true;
    return image;
}

bool ExportsName(const PeImage& image, const char* name) {
    for (const std::string& exported : image.exports)
        if (exported == name)
            return true;
    return false;
}
