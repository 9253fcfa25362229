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

// General float format of a fixed locale ("de_DE", "en_US", "C"): the
// shortest text that reads back as the same number, no digit grouping,
// plain decimals from 1e-5 up to 1e15 and an exponent beyond.
class LocaleNumberFormatter : public NumberFormatter {
public:
    explicit LocaleNumberFormatter(const std::string& localeName);
    std::string FormatGeneral(double value) const override;

protected:
    explicit LocaleNumberFormatter(char decimalPoint);

private:
    char decimalPoint_;
};

// The same with the decimal separator of the system's locale.
class SystemNumberFormatter : public LocaleNumberFormatter {
public:
    SystemNumberFormatter();
};

class Sheet {
public:
    std::string Name;

    // Cell texts are Windows-1252 bytes. An empty text leaves a used cell
    // without a value. Writing the workbook fails for columns beyond 255
    // and texts over 32767 characters, the limits of the file format.
    void WriteText(uint16_t col, uint16_t row, const std::string& text);

    // Used area; first > last for an empty sheet.
    uint16_t FirstUsedRow() const;
    uint16_t LastUsedRow() const;
    uint16_t FirstUsedCol() const;
    uint16_t LastUsedCol() const;

    // Empty for an empty cell; numbers in the general float format;
    // booleans "TRUE"/"FALSE"; errors as their display text ("#DIV/0!").
    std::string ReadCellText(uint16_t col, uint16_t row, const NumberFormatter& fmt) const;

    // Cells of the other kinds a workbook holds (used by the reader).
    void WriteNumber(uint16_t col, uint16_t row, double value);
    void WriteBool(uint16_t col, uint16_t row, bool value);
    // `code` is the BIFF error code (0x07 is "#DIV/0!").
    void WriteError(uint16_t col, uint16_t row, uint8_t code);
    // A cell without a value that still counts as used.
    void WriteBlank(uint16_t col, uint16_t row);

    // Engine internals: one cell as the reader and writer see it.
    enum class CellKind : uint8_t { Blank, Text, SharedText, Number, Bool, Error };
    struct Cell {
        uint16_t row = 0;
        uint16_t col = 0;
        CellKind kind = CellKind::Blank;
        uint8_t code = 0;   // boolean value or error code
        uint32_t index = 0; // Text: into texts_; SharedText: into *shared_
        double number = 0;
    };
    // Every cell once, rows ascending, columns ascending within a row.
    template <typename F> void ForEachCell(F&& visit) const
    {
        Normalize();
        for (const Cell& c : cells_)
            visit(c);
    }
    // The text of a Text or SharedText cell.
    const std::string& CellString(const Cell& cell) const;
    // A text cell holding entry `index` of the workbook's shared strings.
    void WriteSharedText(uint16_t col, uint16_t row, uint32_t index);
    void SetSharedStrings(std::shared_ptr<const std::vector<std::string>> strings);

private:
    Cell& Place(uint16_t col, uint16_t row);
    // Sorts cells that arrived out of order; the last write of a cell wins.
    void Normalize() const;
    const Cell* Find(uint16_t col, uint16_t row) const;

    // Appended in writing order, which is sorted in the usual case.
    mutable std::vector<Cell> cells_;
    mutable bool sorted_ = true;
    std::vector<std::string> texts_;
    std::shared_ptr<const std::vector<std::string>> shared_;
    bool empty_ = true;
    uint16_t firstRow_ = 0, lastRow_ = 0, firstCol_ = 0, lastCol_ = 0;
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
