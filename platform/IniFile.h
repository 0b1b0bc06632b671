#pragma once
// An initialisation file read and written through the Windows profile functions, so that the file
// keeps the exact layout rules of the platform: sections and keys compared without regard to case,
// an existing key replaced in place, a new key appended to its section, a new section appended to the
// file. A bare file name (no folder) means the file in the Windows folder.
#include <string>
#include <vector>

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // Throws EBrantel when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);

    std::vector<std::string> ReadSections() const;
    // The key names of a section in file order.
    std::vector<std::string> ReadSection(const std::string& section) const;
    // The "key=value" lines of a section in file order.
    std::vector<std::string> ReadSectionValues(const std::string& section) const;
    // The lines of a section as the file holds them, in file order: duplicate keys each keep their
    // own line, a line without "=" comes back without one, comment lines (";") are left out.
    std::vector<std::string> ReadSectionLines(const std::string& section) const;
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);
    bool SectionExists(const std::string& section) const;
    // Writes cached changes to disk.
    void UpdateFile();

private:
    std::string FFileName;
};
