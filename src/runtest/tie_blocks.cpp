#include "runtest/tie_blocks.h"

namespace vesk {

namespace {

// Block j's term of S2 / 4: (2 (k_j - 1) + e_j)^2 / k_j, e_j its neighbouring blocks.
double s2_term(std::int64_t size, int neighbours) {
    const double k = static_cast<double>(size);
    const double inner = 2 * (k - 1) + neighbours;
    return inner * inner / k;
}

}  // namespace

void TieBlocks::add_block(std::int64_t central, std::int64_t state) {
    if (central < 0 || state < 0 || central + state == 0) {
        return;
    }
    const TieBlock block{central, state};
    const double k = static_cast<double>(block.size());
    const double a = static_cast<double>(central);
    const double b = static_cast<double>(state);
    t_sum_ += 2 * a * b / k;
    s1_quarter_ += 2 * (k - 1) / k;
    if (count_ > 0) {
        const double k_before = static_cast<double>(last_.size());
        t_sum_ += (static_cast<double>(last_.central) * b + static_cast<double>(last_.state) * a) /
                  (k_before * k);
        s1_quarter_ += 1 / (k_before * k);
        s2_quarter_ += s2_term(last_.size(), last_has_before_ ? 2 : 1);
    }
    last_has_before_ = count_ > 0;
    last_ = block;
    ++count_;
    central_ += central;
    state_ += state;
    any_tie_ = any_tie_ || block.size() > 1;
    if (count_ <= kept_block_limit) {
        kept_.push_back(block);
    } else if (!kept_.empty()) {
        kept_ = {};
    }
}

double TieBlocks::t() const {
    return count_ == 0 ? 0 : 1 + t_sum_;
}

double TieBlocks::expected_t() const {
    const double n = static_cast<double>(central_);
    const double m = static_cast<double>(state_);
    return 1 + 2 * n * m / (n + m);
}

double TieBlocks::variance_t() const {
    if (count_ <= 1 || central_ == 0 || state_ == 0) {
        return 0;  // every relabelling gives the same T
    }
    // The permutation moments of a sum over neighbouring record pairs: with N_r = N (N - 1) ...
    // (N - r + 1), S0 = 2 (N - 1), S1 = 4 [sum_j 2 (k_j - 1) / k_j + sum_{j<J} 1 / (k_j k_{j+1})]
    // and S2 = 4 sum_j (2 (k_j - 1) + e_j)^2 / k_j,
    //   Var T = 1/4 [2 S1 nm / N_2 + (S2 - 2 S1) nm (N - 2) / N_3
    //                + 4 (S0^2 + S1 - S2) n (n - 1) m (m - 1) / N_4] - (2 nm / N)^2.
    // In long double: the last two terms nearly cancel in a large group.
    using real = long double;
    const real n = static_cast<real>(central_);
    const real m = static_cast<real>(state_);
    const real size = n + m;
    const real s0 = 2 * (size - 1);
    const real s1 = 4 * static_cast<real>(s1_quarter_);
    const real s2 = 4 * (static_cast<real>(s2_quarter_) +
                         static_cast<real>(s2_term(last_.size(), last_has_before_ ? 1 : 0)));
    const real nm = n * m;
    real sum = 0;
    if (size >= 2) {
        sum += 2 * s1 * nm / (size * (size - 1));
    }
    if (size >= 3) {
        sum += (s2 - 2 * s1) * nm * (size - 2) / (size * (size - 1) * (size - 2));
    }
    if (n >= 2 && m >= 2) {
        sum += 4 * (s0 * s0 + s1 - s2) * n * (n - 1) * m * (m - 1) /
               (size * (size - 1) * (size - 2) * (size - 3));
    }
    const real mean_less_one = 2 * nm / size;
    const real variance = sum / 4 - mean_less_one * mean_less_one;
    return variance > 0 ? static_cast<double>(variance) : 0.0;
}

}  // namespace vesk
