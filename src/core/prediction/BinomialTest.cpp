#include "core/prediction/BinomialTest.h"

#include <algorithm>
#include <cmath>

namespace n4 {

namespace {

// Counts far enough out to weigh less than this share of the most likely
// count are left out: they change no p-value that is printed.
constexpr double kNegligible = 1e-40;
constexpr double kTieTolerance = 1 + 1e-7;

// The probabilities of hit counts first, first + 1, ...
struct Distribution {
    long long first = 0;
    std::vector<double> p{1.0};
};

void trim(Distribution& d) {
    const double top = *std::max_element(d.p.begin(), d.p.end());
    auto lo =
        std::find_if(d.p.begin(), d.p.end(), [&](double v) { return v >= top * kNegligible; });
    auto hi =
        std::find_if(d.p.rbegin(), d.p.rend(), [&](double v) { return v >= top * kNegligible; });
    d.first += lo - d.p.begin();
    d.p.erase(hi.base(), d.p.end());
    d.p.erase(d.p.begin(), lo);
}

// Binomial(n, c), walked out from its most likely count.
Distribution binomial(long long n, double c) {
    Distribution d;
    if (n <= 0 || c <= 0) return d;
    if (c >= 1) {
        d.first = n;
        return d;
    }
    const double q = 1 - c;
    const long long mode = std::min(n, static_cast<long long>(std::floor((n + 1) * c)));
    const double logMode = std::lgamma(n + 1.0) - std::lgamma(mode + 1.0) -
                           std::lgamma(n - mode + 1.0) + mode * std::log(c) +
                           (n - mode) * std::log(q);
    const double top = std::exp(logMode);
    std::vector<double> below;
    double v = top;
    for (long long k = mode; k > 0 && v >= top * kNegligible; --k) {
        v *= static_cast<double>(k) / static_cast<double>(n - k + 1) * (q / c);
        below.push_back(v);
    }
    d.first = mode - static_cast<long long>(below.size());
    d.p.assign(below.rbegin(), below.rend());
    d.p.push_back(top);
    v = top;
    for (long long k = mode; k < n && v >= top * kNegligible; ++k) {
        v *= static_cast<double>(n - k) / static_cast<double>(k + 1) * (c / q);
        d.p.push_back(v);
    }
    trim(d);
    return d;
}

// The distribution of the sum: r[k] is the sum of a[i] * b[k - i] over i,
// added up in ascending i exactly as a plain loop over i and then j would add
// them, so that every value comes out the same to the last bit. Four values of
// a are taken at once, so that each r[k] is read and written once for the
// four; b is read through three zeros on either side (they add nothing) so
// that the four read one window. The compiler makes the inner loop work on
// vectors of doubles, and a second copy for processors with AVX2 twice as
// wide; the file is built without fused multiply-adds, which would round
// differently.
__attribute__((target_clones("avx2", "default"))) Distribution convolve(const Distribution& a,
                                                                        const Distribution& b) {
    const std::size_t na = a.p.size(), nb = b.p.size();
    Distribution r;
    r.first = a.first + b.first;
    r.p.assign(na + nb - 1, 0.0);
    std::vector<double> padded(nb + 6, 0.0);
    std::copy(b.p.begin(), b.p.end(), padded.begin() + 3);
    const double* b0 = padded.data() + 3; // b0[m] is b[m], b1[m] is b[m - 1] ...
    const double *b1 = b0 - 1, *b2 = b0 - 2, *b3 = b0 - 3;
    std::size_t i = 0;
    for (; i + 4 <= na; i += 4) {
        const double a0 = a.p[i], a1 = a.p[i + 1], a2 = a.p[i + 2], a3 = a.p[i + 3];
        double* to = r.p.data() + i;
        for (std::size_t m = 0; m < nb + 3; ++m)
            to[m] = to[m] + a0 * b0[m] + a1 * b1[m] + a2 * b2[m] + a3 * b3[m];
    }
    for (; i < na; ++i) {
        const double ai = a.p[i];
        double* to = r.p.data() + i;
        for (std::size_t m = 0; m < nb; ++m)
            to[m] += ai * b0[m];
    }
    trim(r);
    return r;
}

} // namespace

double twoSidedPValue(const std::vector<TrialGroup>& groups, long long hits) {
    Distribution all;
    for (const TrialGroup& g : groups)
        all = convolve(all, binomial(g.trials, g.chance));
    const long long at = hits - all.first;
    if (at < 0 || at >= static_cast<long long>(all.p.size())) return 0.0;
    const double limit = all.p[static_cast<std::size_t>(at)] * kTieTolerance;
    long double sum = 0;
    for (double v : all.p)
        if (v <= limit) sum += v;
    return std::min(1.0, static_cast<double>(sum));
}

} // namespace n4
