// Test support: a data folder of the test's own for the plug-in, and where the test
// program and the staged host lie.
#pragma once

#include <string>

namespace tarnwick_test {

// A data folder "<root>\data" under the test's own scratch folder; files are written
// and read byte for byte. TARNWICK_DIR points at the root for the host.
class DataFolder {
  public:
    explicit DataFolder(const std::string& name);
    ~DataFolder();
    const std::string& Root() const { return root_; }  // without trailing backslash
    std::string PathOf(const std::string& file) const; // root\data\file
    void Write(const std::string& file, const std::string& bytes) const;
    std::string Read(const std::string& file) const;
    bool Exists(const std::string& file) const;
    void Remove(const std::string& file) const;
    // The three files of an installation: a table, chick.ini and an empty macro.
    void WriteStandardFiles(const std::string& table, const std::string& check1 = "0") const;

  private:
    std::string root_;
};

// The folder and everything in it, read-only files included.
void RemoveTree(const std::string& folder);
std::string ProgramFolder(); // the folder of the test program
std::string StageFolder();   // the folder holding UGII and NXBIN

} // namespace tarnwick_test
