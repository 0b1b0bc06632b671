#pragma once
// An initialisation file read and written through the Windows profile functions, so that the file
// keeps the exact layout rules of the platform: sections and keys compared without regard to case,
// an existing key replaced in place, a new key appended to its section, a new section appended to the
// file. A bare file name (no folder) means the file in the Windows folder.
#include <string>
#include <string_view>
#include <vector>

// The reading of keys, which a file and a pass over it (below) both offer.
class TIniReader {
public:
    virtual ~TIniReader() = default;
    // The key's value without surrounding blanks and without one pair of enclosing quotes; def when
    // the section or key is missing or the key's line has no "=".
    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) const = 0;
};

class TIniFile : public TIniReader {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
    const std::string& FileName() const { return FFileName; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const override;
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
    // Replaces everything the section holds by these "key=value" lines, in this order. No key is
    // looked up, so a line of a multi-line value that reads "key=..." is never taken for a key to
    // replace. Throws EBrantel when the file cannot be written.
    void WriteSection(const std::string& section, const std::vector<std::string>& lines);
    void EraseSection(const std::string& section);
    void DeleteKey(const std::string& section, const std::string& key);
    bool SectionExists(const std::string& section) const;
    // Writes cached changes to disk.
    void UpdateFile();

private:
    std::string FFileName;
};

// A value as "key=value" must hold it for the profile functions to read it back unchanged: in quotes
// when they would otherwise take blanks off its ends or a pair of quotes around it; otherwise as it is.
std::string QuotedProfileValue(const std::string& value);
// The value of a "key=value" line's right-hand side as the profile functions read it: without the
// blanks around it and without one pair of enclosing quotes.
std::string UnquotedProfileValue(std::string_view raw);

// One pass of reading over a file: each section is taken from the file once, on its first use, and
// its keys are then answered as the profile functions answer them. Each profile call reads and parses
// the whole file again, so reading a section key by key costs as many passes over the file as there
// are keys. A pass is for reading that nothing writes in between; the next pass reads afresh.
// Comment lines are not part of a section here, so a key that starts with ";" is never found.
class TIniFilePass : public TIniReader {
public:
    explicit TIniFilePass(std::string fileName) : FFile(std::move(fileName)) {}
    const TIniFile& File() const { return FFile; }

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const override;

private:
    struct TSection {
        std::string UpperName;
        std::vector<std::string> Lines;
    };
    const TSection& Section(const std::string& name) const;
    TIniFile FFile;
    mutable std::vector<TSection> FSections;
};
