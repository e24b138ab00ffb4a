#include "response/References.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "scans/TextReader.h"
#include "shell/FileIo.h"
#include "shell/Operator.h"
#include "shell/Program.h"

namespace uvlamp {

bool ReadResponseText(TScan& scan, std::string_view text) {
    std::vector<std::pair<double, double>> pairs;
    TTextReader file(text);
    while (!file.AtEnd()) {
        const std::string line = file.ReadTextLine();
        TTextReader fields(line);
        double w = 0;
        double value = 0;
        if (fields.ReadDouble(w) && fields.ReadDouble(value)) {
            pairs.emplace_back(w, value);
        }
    }
    if (pairs.empty()) {
        return false;
    }
    const int n = static_cast<int>(pairs.size());
    scan.SetPointCount(n);
    for (int i = 1; i <= n; ++i) {
        scan.Wavelength[i] = pairs[static_cast<std::size_t>(i - 1)].first / 10000;
        scan.Counts[i] = pairs[static_cast<std::size_t>(i - 1)].second;
    }
    // Whatever the scan held before, its points now form one range.
    scan.SplitIndex = n + 1;
    return true;
}

bool ReadResponseFile(TScan& scan, const std::string& fileName, std::string* whyNot) {
    std::string buffer;
    std::string reason;
    const std::optional<std::string_view> bytes =
        ReadFileBytes(fileName, buffer, kMaxResponseFileBytes, "a response file", reason);
    if (bytes && ReadResponseText(scan, *bytes)) {
        return true;
    }
    if (whyNot != nullptr) {
        *whyNot = bytes ? "holds no wavelength and value pairs" : reason;
    }
    return false;
}

bool LoadFileReference(TProgram& program, const std::string& fileName) {
    program.FileReference.reset();
    TFile* file = nullptr;
    if (!program.LampList.empty() && !program.LampList.front()->Scans.empty()) {
        file = program.LampList.front()->Scans.front()->File;
    }
    auto reference = std::make_unique<TScan>(1, nullptr, file);
    if (!ReadResponseFile(*reference, fileName)) {
        return false;
    }
    program.FileReference = std::move(reference);
    return true;
}

bool LoadUvresResponse(TProgram& program, TOperator& op, const std::string& fileName) {
    program.UvresResponse.reset();
    auto uvres = std::make_unique<TScan>(1, nullptr, nullptr);
    std::string whyNot;
    if (!ReadResponseFile(*uvres, fileName, &whyNot)) {
        op.Tell("The UVRES file " + fileName + " " + whyNot + ".", "Error!");
        return false;
    }
    program.UvresResponse = std::move(uvres);
    return true;
}

}  // namespace uvlamp
