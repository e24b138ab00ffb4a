#pragma once

#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scans/Lamp.h"

namespace uvlamp {

class TOperator;
class TTextReader;
struct TSettings;

// What a file reader needs besides the file's name.
struct TReadContext {
    // QL scan limit and the current instrument's constants.
    const TSettings& Settings;
    // For "Unrecognized format." and the like.
    TOperator& Operator;
    // The bytes of a file given by its bare name, or empty when it cannot be read. The bytes stay
    // valid until the next call.
    std::function<std::optional<std::string_view>(const std::string& name)> Open;
    // Problems that did not stop the reading (scans left out, files refused), one line each,
    // naming the file; shown to the operator by the caller.
    std::vector<std::string> Notes;
};

// One scan file that was read: its name, the lamps found in it and how many scans it yielded.
// While the file is read its lamps belong to it; loading then moves them (or their scans) into
// the program's lamp list.
class TFile {
  public:
    TFile() = default;
    TFile(const TFile&) = delete;
    TFile& operator=(const TFile&) = delete;
    virtual ~TFile() = default;

    // Reads the whole file of that bare name. The plain file reads nothing and succeeds.
    virtual bool Read(const std::string& name, TReadContext& ctx);

    // FileName = name; Instrument = its last three characters.
    void SetName(const std::string& name);
    // FileName = name; NameDay = the whole number in characters 3 to 5 of the name (1-based).
    // Throws TConversionError, naming the file, when they are not a whole number.
    void ReadNameDay(const std::string& name);

    std::string FileName;  // the bare name, as given to Read
    TLampList Lamps;       // the lamps found, in order of first appearance
    int NameDay = 0;       // UL and XL: the day of year from the file name
    int NScans = 0;        // blocks read successfully, including those a cap dropped
    std::string Instrument;

  protected:
    // How many scans a lamp keeps of one file: when it holds Max already, the oldest is dropped
    // for the new one (KeepLast), or the new one is dropped and the reading ends.
    struct TScanCap {
        std::size_t Max = std::numeric_limits<std::size_t>::max();
        bool KeepLast = true;
    };
    // Reads a file of blocks of one lamp (QL and QS files), making each block with newBlock.
    bool ReadOneLampFile(const std::string& name, const std::string& lampName, TReadContext& ctx,
                         const TScanCap& cap,
                         const std::function<std::unique_ptr<TScan>(TLamp&)>& newBlock);
    // Appends a scan to a lamp of this file unless it is on another wavelength grid than the
    // lamp's first scan; then it is dropped with a note, and the lamp's point count is restored.
    // False when the scan was dropped.
    bool AppendScan(TLamp& lamp, std::unique_ptr<TScan> scan, TReadContext& ctx);
    // Drops the oldest scan of a lamp.
    static void DropOldest(TLamp& lamp);

  private:
    std::vector<std::string> notedLamps_;  // lamps already named in a note
};

class TQLFile : public TFile {
  public:
    bool Read(const std::string& name, TReadContext& ctx) override;
};

class TQSFile : public TFile {
  public:
    bool Read(const std::string& name, TReadContext& ctx) override;
};

class TULFile : public TFile {
  public:
    bool Read(const std::string& name, TReadContext& ctx) override;
};

class TXLFile : public TFile {
  public:
    bool Read(const std::string& name, TReadContext& ctx) override;
};

using TFileList = std::vector<std::unique_ptr<TFile>>;

// Lamp names come from file names and file contents; a name is shown in lists, titles, logs and
// file names, so it is kept readable: control characters become "?", and a name longer than this
// is cut (ending in "...").
inline constexpr std::size_t kMaxLampNameLength = 64;
std::string ReadableLampName(std::string_view name);
// A file's name as lists, messages and logs show it: control characters become "?".
std::string ReadableFileName(std::string_view name);

// The lamp named by a QL or QS file name: the characters after the last "_" (for QL files
// without "_", after the first two characters) up to the dot and the three-character extension,
// made readable.
std::string QlLampName(const std::string& fileName);
std::string QsLampName(const std::string& fileName);

}  // namespace uvlamp
