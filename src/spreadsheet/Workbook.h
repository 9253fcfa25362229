#pragma once
// The spreadsheet file engine: reads and writes BIFF8 (.XLS) workbooks.
// Rows and columns are 0-based everywhere.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace folianto {

// A workbook that cannot be read or written; what() is a German message.
class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Formats numbers for ReadCellText: the system's general float format with
// its decimal separator (injected so tests choose the locale).
class NumberFormatter {
public:
    virtual ~NumberFormatter() = default;
    virtual std::string FormatGeneral(double value) const = 0;
};

class Sheet {
public:
    std::string Name;

    // Cell texts are Windows-1252 bytes.
    void WriteText(uint16_t col, uint16_t row, const std::string& text);

    // Used area; first > last for an empty sheet.
    uint16_t FirstUsedRow() const;
    uint16_t LastUsedRow() const;
    uint16_t FirstUsedCol() const;
    uint16_t LastUsedCol() const;

    // Empty for an empty cell; numbers in the general float format;
    // booleans "TRUE"/"FALSE"; errors as their display text ("#DIV/0!").
    std::string ReadCellText(uint16_t col, uint16_t row, const NumberFormatter& fmt) const;

private:
    // Cell storage is the engine's own (sparse, indexed by row and column).
};

class Workbook {
public:
    Workbook();
    ~Workbook();

    void SetFileName(const std::string& path);
    const std::string& FileName() const;
    // Afterwards exactly one empty sheet at index 0.
    void ClearSheets();
    Sheet& GetSheet(std::size_t index);
    std::size_t SheetCount() const;

    // Replaces an existing file; throws WorkbookError.
    void Write();
    // Loads all sheets and cells; throws WorkbookError on a bad file.
    void Read();

    // The same on bytes in memory (a whole .XLS file), for tests and fuzzing.
    std::vector<uint8_t> WriteToBytes() const;
    void ReadFromBytes(const std::vector<uint8_t>& bytes);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace folianto
