#include "scans/Lamp.h"

#include "irradiance/Irr.h"

namespace uvlamp {

namespace {
constexpr int kInitialDerivedPoints = 51;
}

TLamp::TLamp(std::string name)
    : Name(std::move(name)),
      Average(kInitialDerivedPoints, this, nullptr),
      RelStd(kInitialDerivedPoints, this, nullptr),
      TSlopeScan(kInitialDerivedPoints, this, nullptr),
      At0CScan(kInitialDerivedPoints, this, nullptr),
      At25CScan(kInitialDerivedPoints, this, nullptr),
      TSlopeCounts(kInitialDerivedPoints),
      At0CCounts(kInitialDerivedPoints),
      At25CCounts(kInitialDerivedPoints) {}

TLamp::~TLamp() = default;

void TLamp::ResizeDerived() {
    for (TScan* s : {&Average, &RelStd, &TSlopeScan, &At0CScan, &At25CScan}) {
        s->Resize(NPoints);
    }
    for (TPointArray* a : {&TSlopeCounts, &At0CCounts, &At25CCounts}) {
        a->Reset(NPoints);
    }
}

void TLamp::SyncPointCount() {
    if (!Scans.empty()) {
        NPoints = Scans.front()->NPoints;
    }
}

bool TLamp::Accepts(const TScan& scan) const {
    if (Scans.empty()) {
        return true;
    }
    return SameGrid(scan, *Scans.front());
}

int FindLamp(const TLampList& list, const std::string& name) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i]->Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TLampIndex::TLampIndex(const TLampList& list) {
    for (const auto& lamp : list) {
        Add(*lamp);
    }
}

TLamp* TLampIndex::Find(const std::string& name) const {
    const auto found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
}

void TLampIndex::Add(TLamp& lamp) {
    byName_.try_emplace(lamp.Name, &lamp);
}

}  // namespace uvlamp
