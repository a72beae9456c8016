// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/FastPeriodogram.h"

#include <fftw3.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <memory>
#include <mutex>
#include <new>
#include <tuple>
#include <utility>
#include <vector>

#include "analysis/LombScargle.h"
#include "analysis/UnitCircle.h"
#include "analysis/WorkerThreads.h"
#include "core/SabrixError.h"

namespace sabrix {

namespace {

// Lagrange points per observation and FFT length over a block's frequencies. With the block
// centred, the highest index is 1/8 of the FFT length, where 12-point interpolation of
// exp(2 pi i j x / N) errs by at most 2e-7 of each term, so each sum by at most 2e-7 of the
// sum of its terms' sizes. The power then errs by at most about 6e-7 over the conditioning:
// less than 1e-4 wherever that is above kConditioningFloor. (With 10 points that bound is 40
// times higher, near 1e-3, and evenly spaced times, whose errors all point the same way, come
// within a factor of 2 of the bound.)
constexpr int kOrder = 12;
constexpr int64_t kOversampling = 4;
// 16 MB a grid; each worker has one or two.
constexpr int64_t kMaxFftLength = int64_t{1} << 20;
// Below this conditioning the power is computed again exactly (see LombScargleTerms).
constexpr double kConditioningFloor = 0.01;
// Observations between looks at the cancel request and reports of progress.
constexpr int64_t kObservationsPerLook = 1 << 15;
// Measured on a 2-core x86-64 (AVX2), one core: nanoseconds per observation for the sums of
// one block at f and at 2 f, per point and level of an FFT, per frequency assembled, per
// observation of an exact recomputation.
constexpr double kNsPerObservationPair = 45;
constexpr double kNsPerObservationDouble = 30;
constexpr double kNsPerFftPointLevel = 0.85;
constexpr double kNsPerAssembly = 30;
constexpr double kNsPerExactTerm = 1.5;

// The least 2^a 3^b 5^c 7^d >= n: lengths FFTW transforms fastest.
int64_t FastLength(int64_t n) {
    int64_t best = 1;
    while (best < n) best *= 2;
    for (int64_t p7 = 1; p7 < best; p7 *= 7)
        for (int64_t p5 = p7; p5 < best; p5 *= 5)
            for (int64_t p3 = p5; p3 < best; p3 *= 3) {
                int64_t v = p3;
                while (v < n) v *= 2;
                best = std::min(best, v);
            }
    return best;
}

struct BlockLayout {
    int64_t blocks = 1;
    int64_t frequencies = 0;  // per block (the last may have fewer)
    int64_t fftLength = 0;
};

BlockLayout LayOutBlocks(int64_t frequencies) {
    BlockLayout layout;
    layout.blocks =
        std::max<int64_t>(1, (frequencies * kOversampling + kMaxFftLength - 1) / kMaxFftLength);
    layout.frequencies = (frequencies + layout.blocks - 1) / layout.blocks;
    layout.fftLength = FastLength(std::max<int64_t>(layout.frequencies * kOversampling, 64));
    return layout;
}

double FftCost(int64_t length) {
    return kNsPerFftPointLevel * static_cast<double>(length) *
           std::log2(static_cast<double>(length));
}

// The memory of the grids a thread used last, for its next search. A batch of searches whose
// lengths differ a little would otherwise leave the heap with a gap of each size (a quarter
// of a gigabyte after a few hundred files), and handing the grids back to the system costs
// their page faults again at every search. At most two are kept per thread, freed when the
// thread ends.
class GridMemory {
  public:
    // Memory for length points: a kept block that is large enough, else a new one.
    static std::pair<fftw_complex*, int64_t> Take(int64_t length) {
        std::vector<Block>& kept = Kept();
        for (auto it = kept.begin(); it != kept.end(); ++it) {
            if (it->capacity >= length) {
                const Block block = *it;
                kept.erase(it);
                return {block.data, block.capacity};
            }
        }
        fftw_complex* data = fftw_alloc_complex(static_cast<size_t>(length));
        if (data == nullptr) throw std::bad_alloc();
        return {data, length};
    }
    // Keeps the block for the thread's next grid; the smallest goes when two are kept.
    static void Give(fftw_complex* data, int64_t capacity) {
        std::vector<Block>& kept = Kept();
        kept.push_back({data, capacity});
        if (kept.size() <= kKept) return;
        const auto smallest = std::min_element(
            kept.begin(), kept.end(),
            [](const Block& a, const Block& b) { return a.capacity < b.capacity; });
        fftw_free(smallest->data);
        kept.erase(smallest);
    }

  private:
    static constexpr size_t kKept = 2;
    struct Block {
        fftw_complex* data;
        int64_t capacity;
    };
    struct Blocks : std::vector<Block> {
        ~Blocks() {
            for (const Block& block : *this) fftw_free(block.data);
        }
    };
    static std::vector<Block>& Kept() {
        thread_local Blocks kept;
        return kept;
    }
};

// A grid of the transform's length, aligned as FFTW wants it.
class FftGrid {
  public:
    explicit FftGrid(int64_t length) : length_(length) {
        std::tie(data_, capacity_) = GridMemory::Take(length);
    }
    ~FftGrid() { GridMemory::Give(data_, capacity_); }
    FftGrid(const FftGrid&) = delete;
    FftGrid& operator=(const FftGrid&) = delete;

    fftw_complex* data() { return data_; }
    double* values() { return reinterpret_cast<double*>(data_); }
    void Clear() { std::fill_n(values(), 2 * length_, 0.0); }
    std::complex<double> at(int64_t index) const { return {data_[index][0], data_[index][1]}; }

  private:
    int64_t length_;
    fftw_complex* data_ = nullptr;
    int64_t capacity_ = 0;
};

// The in-place backward transform of one length, run by every worker on its own grids
// (grids from fftw_alloc_complex share the alignment of the planned one).
class FftPlan {
  public:
    // Plans the transform, or takes it from the plans kept: planning a length that is not a
    // power of 2 costs as much as running it once or twice, and a search repeated on the same
    // grid (after a period is removed) needs the same one. FFTW's planner is not thread-safe;
    // running a plan is.
    explicit FftPlan(int64_t length) {
        static Planner planner;
        std::shared_ptr<Plan> evicted;
        const std::lock_guard lock(planner.mutex);
        for (auto it = planner.kept.begin(); it != planner.kept.end(); ++it) {
            if ((*it)->length == length) {
                plan_ = *it;
                planner.kept.erase(it);
                planner.kept.push_back(plan_);
                return;
            }
        }
        FftGrid scratch(length);
        fftw_plan plan = fftw_plan_dft_1d(static_cast<int>(length), scratch.data(), scratch.data(),
                                          FFTW_BACKWARD, FFTW_ESTIMATE);
        if (plan == nullptr)
            throw SabrixError("The FFT of " + std::to_string(length) +
                              " points cannot be planned.");
        plan_ = std::shared_ptr<Plan>(new Plan{length, plan}, [mutex = &planner.mutex](Plan* p) {
            const std::lock_guard destroyLock(*mutex);
            fftw_destroy_plan(p->plan);
            delete p;
        });
        if (planner.kept.size() == kKeptPlans) {
            // Destroyed after the lock is given back (or later, by a search still using it).
            evicted = std::move(planner.kept.front());
            planner.kept.erase(planner.kept.begin());
        }
        planner.kept.push_back(plan_);
    }

    void Transform(FftGrid& grid) const { fftw_execute_dft(plan_->plan, grid.data(), grid.data()); }

  private:
    static constexpr size_t kKeptPlans = 2;
    struct Plan {
        int64_t length;
        fftw_plan plan;
    };
    struct Planner {
        std::mutex mutex;
        // The most recently used last. Declared after the mutex: destroyed first.
        std::vector<std::shared_ptr<Plan>> kept;
    };
    std::shared_ptr<Plan> plan_;
};

// Lagrange weights of the kOrder grid points around a place on a periodic grid.
class Extirpolation {
  public:
    Extirpolation() {
        // 1 / prod_{l != j} (j - l) = (-1)^(m-1-j) / (j! (m-1-j)!)
        for (int j = 0; j < kOrder; ++j) {
            double d = 1;
            for (int l = 0; l < kOrder; ++l)
                if (l != j) d *= static_cast<double>(j - l);
            inverse_[j] = 1 / d;
        }
    }

    // Adds value times the weights of place x (0 <= x < length) into the grid.
    void Spread(double x, double re, double im, double* grid, int64_t length) const {
        const int64_t base = static_cast<int64_t>(x);
        const int64_t first = base - (kOrder / 2 - 1);
        const double u = x - static_cast<double>(first);
        double prefix[kOrder];
        double suffix[kOrder];
        prefix[0] = 1;
        for (int j = 1; j < kOrder; ++j) prefix[j] = prefix[j - 1] * (u - (j - 1));
        suffix[kOrder - 1] = 1;
        for (int j = kOrder - 2; j >= 0; --j) suffix[j] = suffix[j + 1] * (u - (j + 1));
        if (first >= 0 && first + kOrder <= length) {
            double* g = grid + 2 * first;
            for (int j = 0; j < kOrder; ++j) {
                const double weight = prefix[j] * suffix[j] * inverse_[j];
                g[2 * j] += re * weight;
                g[2 * j + 1] += im * weight;
            }
        } else {
            for (int j = 0; j < kOrder; ++j) {
                const double weight = prefix[j] * suffix[j] * inverse_[j];
                int64_t index = (first + j) % length;
                if (index < 0) index += length;
                grid[2 * index] += re * weight;
                grid[2 * index + 1] += im * weight;
            }
        }
    }

  private:
    double inverse_[kOrder];
};

// The place of time tau on the periodic grid for frequency step `step`: N frac(step tau).
double GridPlace(double step, double tau, int64_t length) {
    double v = step * tau;
    v -= std::floor(v);
    double x = v * static_cast<double>(length);
    if (x >= static_cast<double>(length)) x -= static_cast<double>(length);
    return x;
}

// exp(2 pi i f tau).
std::complex<double> Turn(double frequency, double tau) {
    const CosSin z = CosSinOfCycles(frequency * tau);
    return {z.c, z.s};
}

// The sums of one block: at f (weights and weighted magnitudes) and at 2 f (weights).
struct BlockSums {
    std::vector<std::complex<double>> atF;
    std::vector<std::complex<double>> yAtF;
    std::vector<std::complex<double>> atTwiceF;
    std::atomic<int> tasksLeft{2};
};

}  // namespace

int64_t FastPeriodogramCost(int64_t observations, int64_t frequencies) {
    const BlockLayout layout = LayOutBlocks(frequencies);
    const double n = static_cast<double>(observations);
    const double perBlock = n * (kNsPerObservationPair + kNsPerObservationDouble) +
                            3 * FftCost(layout.fftLength) +
                            static_cast<double>(layout.frequencies) * kNsPerAssembly;
    return static_cast<int64_t>(perBlock * static_cast<double>(layout.blocks));
}

bool FastPeriodogram(const PeriodData& data, const FrequencyGrid& grid, std::span<double> power,
                     std::span<double> window, int workers, JobControl& control) {
    const BlockLayout layout = LayOutBlocks(grid.count);
    const int64_t n = data.size();
    const int64_t length = layout.fftLength;
    const std::vector<double>& tau = data.times();
    const std::vector<double>& w = data.weights();
    const std::vector<double>& y = data.residuals();
    const Extirpolation extirpolation;
    const FftPlan plan(length);

    const int64_t tasks = 2 * layout.blocks;
    std::atomic<int64_t> nextTask{0};
    std::unique_ptr<BlockSums[]> blocks(new BlockSums[static_cast<size_t>(layout.blocks)]);
    std::mutex recheckMutex;
    std::vector<int64_t> recheck;

    const auto blockFirst = [&](int64_t b) { return b * layout.frequencies; };
    const auto blockCount = [&](int64_t b) {
        return std::min(layout.frequencies, grid.count - blockFirst(b));
    };
    // The frequency index the block is centred on, and where the block's frequency j lands in
    // the transform.
    const auto centre = [&](int64_t b) { return blockCount(b) / 2; };
    const auto fftIndex = [&](int64_t b, int64_t j) {
        const int64_t index = j - centre(b);
        return index < 0 ? index + length : index;
    };

    const auto assemble = [&](int64_t b) {
        BlockSums& sums = blocks[b];
        std::vector<int64_t> poor;
        for (int64_t j = 0; j < blockCount(b); ++j) {
            TrigSums t;
            t.c = sums.atF[j].real();
            t.s = sums.atF[j].imag();
            t.yc = sums.yAtF[j].real();
            t.ys = sums.yAtF[j].imag();
            t.c2 = sums.atTwiceF[j].real();
            t.s2 = sums.atTwiceF[j].imag();
            const LombScargleTerms terms = SolveLombScargle(t, data.variance());
            const int64_t k = blockFirst(b) + j;
            power[k] = terms.power;
            if (!window.empty()) window[k] = terms.window;
            if (terms.conditioning < kConditioningFloor) poor.push_back(k);
        }
        // Freed now, not at the end: "= {}" would keep the capacity of every block till then.
        std::vector<std::complex<double>>().swap(sums.atF);
        std::vector<std::complex<double>>().swap(sums.yAtF);
        std::vector<std::complex<double>>().swap(sums.atTwiceF);
        control.Advance(static_cast<int64_t>(static_cast<double>(blockCount(b)) * kNsPerAssembly));
        if (!poor.empty()) {
            const std::lock_guard lock(recheckMutex);
            recheck.insert(recheck.end(), poor.begin(), poor.end());
        }
    };

    // Spreads every observation's term for frequency fc and step onto the grids, looking at
    // the cancel request as it goes. Returns false when cancelled.
    const auto spread = [&](double fc, double step, FftGrid& first, FftGrid* second,
                            double nsPerObservation) {
        first.Clear();
        if (second != nullptr) second->Clear();
        for (int64_t from = 0; from < n; from += kObservationsPerLook) {
            if (control.cancelled()) return false;
            const int64_t to = std::min(n, from + kObservationsPerLook);
            for (int64_t i = from; i < to; ++i) {
                const std::complex<double> term = w[i] * Turn(fc, tau[i]);
                const double x = GridPlace(step, tau[i], length);
                extirpolation.Spread(x, term.real(), term.imag(), first.values(), length);
                if (second != nullptr)
                    extirpolation.Spread(x, term.real() * y[i], term.imag() * y[i],
                                         second->values(), length);
            }
            control.Advance(
                static_cast<int64_t>(static_cast<double>(to - from) * nsPerObservation));
        }
        return true;
    };

    const int threads = std::clamp<int>(workers, 1, static_cast<int>(std::min<int64_t>(tasks, 64)));
    RunOnWorkers(threads, [&](int) {
        // The weighted magnitudes' grid only for a worker that takes a task at f.
        FftGrid weightsGrid(length);
        std::unique_ptr<FftGrid> magsGrid;
        for (int64_t task = nextTask++; task < tasks; task = nextTask++) {
            const int64_t b = task / 2;
            BlockSums& sums = blocks[b];
            const double fc = grid.at(blockFirst(b) + centre(b));
            const int64_t count = blockCount(b);
            if (task % 2 == 0) {
                if (!magsGrid) magsGrid = std::make_unique<FftGrid>(length);
                if (!spread(fc, grid.step, weightsGrid, magsGrid.get(), kNsPerObservationPair))
                    return;
                plan.Transform(weightsGrid);
                plan.Transform(*magsGrid);
                sums.atF.resize(count);
                sums.yAtF.resize(count);
                for (int64_t j = 0; j < count; ++j) {
                    sums.atF[j] = weightsGrid.at(fftIndex(b, j));
                    sums.yAtF[j] = magsGrid->at(fftIndex(b, j));
                }
                control.Advance(static_cast<int64_t>(2 * FftCost(length)));
            } else {
                if (!spread(2 * fc, 2 * grid.step, weightsGrid, nullptr, kNsPerObservationDouble))
                    return;
                plan.Transform(weightsGrid);
                sums.atTwiceF.resize(count);
                for (int64_t j = 0; j < count; ++j)
                    sums.atTwiceF[j] = weightsGrid.at(fftIndex(b, j));
                control.Advance(static_cast<int64_t>(FftCost(length)));
            }
            // The second task of a block to end assembles it.
            if (sums.tasksLeft.fetch_sub(1, std::memory_order_acq_rel) == 1) assemble(b);
        }
    });
    if (control.cancelled()) return false;

    std::atomic<size_t> nextRecheck{0};
    const int64_t exactCost = static_cast<int64_t>(static_cast<double>(n) * kNsPerExactTerm);
    RunOnWorkers(std::clamp<int>(workers, 1, static_cast<int>(std::max<size_t>(recheck.size(), 1))),
                 [&](int) {
                     for (size_t r = nextRecheck++; r < recheck.size(); r = nextRecheck++) {
                         if (control.cancelled()) return;
                         const int64_t k = recheck[r];
                         const LombScargleTerms terms = ExactLombScargle(data, grid.at(k));
                         power[k] = terms.power;
                         if (!window.empty()) window[k] = terms.window;
                         control.Advance(exactCost);
                     }
                 });
    return !control.cancelled();
}

}  // namespace sabrix
