#pragma once

#include <cassert>
#include <vector>

namespace uvlamp {

// One per-point quantity of a scan, indexed from 1 to the scan's point count (entries 0 and
// count + 1 exist but are never used). Storage is taken on the first write, so the quantities a
// scan never uses (the raw columns of a QL scan, the temperature family of a lamp scan) cost no
// memory; an entry that was never stored reads as 0.
class TPointArray {
  public:
    TPointArray() = default;
    explicit TPointArray(int n) : n_(n) {}

    // A new array of n points, all unset.
    void Reset(int n) {
        n_ = n;
        data_.clear();
        data_.shrink_to_fit();
    }
    int Points() const { return n_; }
    bool Allocated() const { return !data_.empty(); }

    double& operator[](int i) {
        assert(i >= 0 && i <= n_ + 1);
        if (data_.empty()) {
            data_.assign(static_cast<std::size_t>(n_) + 2, 0.0);
        }
        return data_[static_cast<std::size_t>(i)];
    }
    double operator[](int i) const {
        assert(i >= 0 && i <= n_ + 1);
        return data_.empty() ? 0.0 : data_[static_cast<std::size_t>(i)];
    }

  private:
    int n_ = 0;
    std::vector<double> data_;
};

}  // namespace uvlamp
