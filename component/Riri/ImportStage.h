#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Riri {

// One checked row of an import as the writers store it, its texts in
// UTF-8: what the check made of the row, ready to bind.
struct StagedRow {
    enum Text { Id, Name, Serial, Model, Room, From, BuyDate, Description, Notes, AddDate, Count };
    StagedRow() = default;
    // A copy's views would point into the original's bytes.
    StagedRow(const StagedRow&) = delete;
    StagedRow& operator=(const StagedRow&) = delete;

    double cost = 0;
    double value = 0;
    // False when the row left the date acquired empty (BuyDate is today's).
    bool buyDateGiven = false;
    // Views into the row's own bytes: valid until the row is filled again.
    std::array<std::string_view, Count> texts;

    // Copies the texts into the row's bytes and points the views at them.
    void setTexts(const std::array<std::string_view, Count>& from);

private:
    friend class ImportStage;
    std::string m_bytes;
};

// The checked rows of an import, written once by the check and read again
// by the store, so that the file is parsed and checked only once and the
// store imports exactly the rows the user was shown the counts of. The
// rows go to an unnamed file in the given folder (the inventory's), which
// the system removes when the stage goes, even after a crash; memory stays
// small for a file of any size. Not for use from two threads at once.
class ImportStage {
public:
    // Throws Riri::Error when no such file can be made there.
    explicit ImportStage(const QString& folder);
    ~ImportStage();
    ImportStage(const ImportStage&) = delete;
    ImportStage& operator=(const ImportStage&) = delete;

    // Appends a row; throws Riri::Error when the disk refuses it.
    void add(const StagedRow& row);
    // Writes out what add() holds back; call it before reading.
    void finish();

    // Reads the rows back in the order added, from the first.
    class Reader {
    public:
        explicit Reader(const ImportStage& stage) : m_stage(stage) {}
        // False after the last row; throws Riri::Error on a failed read.
        bool next(StagedRow* row);

    private:
        bool fill(size_t wanted);

        const ImportStage& m_stage;
        std::string m_buffer;
        size_t m_at = 0;
        std::int64_t m_offset = 0;
    };

private:
    void flush();

    int m_fd = -1;
    QString m_folder;
    std::string m_pending;
    std::int64_t m_size = 0;
};

} // namespace Riri
