// Superheated steam, IFC-67 subregion 2.
//
// The three properties share one common part: X = exp(b (1 - theta)), the
// powers of X, beta and beta/beta_L that the sums use, and N_mu, M_mu. It is
// formed once per call, each power from a lower one by a multiplication or
// two, walking the exponents upward; the sums then read the ready terms.
#include "properties/subregion2.h"

#include <cmath>

#include "properties/saturation_line.h"

namespace {

constexpr double I1 = 4.260321148;
constexpr double b = 0.7633333333;
constexpr double B0 = 16.8359927;
// B01 ... B05 at positions 1 ... 5.
constexpr double B0v[6] = {0.0,          28.56067796,   -54.38923329,
                           0.4330662834, -0.6547711697, 8.565182058e-2};

// B_mu,lambda and their exponents z_mu,lambda, mu = 1 ... 8 at rows 0 ... 7;
// an absent entry is 0 with exponent 0, and term_count says how many are used.
constexpr int term_count[8] = {2, 3, 2, 2, 3, 2, 2, 2};
constexpr double B[8][3] = {{6.670375918e-2, 1.388983801, 0.0},
                            {8.390104328e-2, 2.614670893e-2, -3.373439453e-2},
                            {4.520918904e-1, 1.069036614e-1, 0.0},
                            {-5.975336707e-1, -8.847535804e-2, 0.0},
                            {5.958051609e-1, -5.159303373e-1, 2.075021122e-1},
                            {1.190610271e-1, -9.867174132e-2, 0.0},
                            {1.683998803e-1, -5.809438001e-2, 0.0},
                            {6.552390126e-3, 5.710218649e-4, 0.0}};
constexpr int z[8][3] = {{13, 3, 0},   {18, 2, 1},  {18, 10, 0}, {25, 14, 0},
                         {32, 28, 24}, {12, 11, 0}, {24, 18, 0}, {24, 14, 0}};

// b_mu,lambda and their exponents l_mu,lambda for mu = 6, 7, 8 (rows 0 ... 2).
constexpr int small_b_count[3] = {1, 1, 2};
constexpr double small_b[3][2] = {
    {4.006073948e-1, 0.0}, {8.636081627e-2, 0.0}, {-8.532322921e-1, 3.460208861e-1}};
constexpr int l[3][2] = {{14, 0}, {19, 0}, {54, 27}};

// B9,lambda, lambda = 0 ... 6.
constexpr double B9[7] = {1.936587558e2, -1.388522425e3, 4.126607219e3, -6.508211677e3,
                          5.745984054e3, -2.693088365e3, 5.235718623e2};
constexpr double ten_B90 = 1936.587558;

// The highest exponent of X in the tables above.
constexpr int top_x_exponent = 54;

struct Common {
    double theta, beta, X;
    double beta_L, L_prime;
    double ratio10;      // (beta / beta_L)^10
    double inv_beta[8];  // beta^-k, k = 0 ... 7
    double term[8][3];   // B_mu,lambda X^z_mu,lambda; 0 where the entry is absent
    double inv_N[3];     // 1 / N_mu for mu = 6, 7, 8
    double M_N[3];       // M_mu / N_mu
};

// X^n for every exponent the tables use (and only those), each from a lower
// power: about twenty multiplications for all of them.
void x_powers(double X, double* xp) {
    xp[0] = 1.0;
    xp[1] = X;
    xp[2] = X * X;
    xp[3] = xp[2] * X;
    xp[4] = xp[2] * xp[2];
    xp[7] = xp[4] * xp[3];
    xp[10] = xp[7] * xp[3];
    xp[11] = xp[10] * X;
    xp[12] = xp[11] * X;
    xp[13] = xp[12] * X;
    xp[14] = xp[13] * X;
    xp[18] = xp[14] * xp[4];
    xp[19] = xp[18] * X;
    xp[24] = xp[12] * xp[12];
    xp[25] = xp[24] * X;
    xp[27] = xp[25] * xp[2];
    xp[28] = xp[27] * X;
    xp[32] = xp[28] * xp[4];
    xp[54] = xp[27] * xp[27];
}

Common common(double T, double p) {
    Common c;
    c.theta = T / critical_temperature;
    c.beta = p / critical_pressure;
    c.X = std::exp(b * (1.0 - c.theta));
    c.beta_L = l_function_L0 + l_function_L1 * c.theta + l_function_L2 * c.theta * c.theta;
    c.L_prime = l_function_L1 + 2.0 * l_function_L2 * c.theta;
    const double r = c.beta / c.beta_L;
    const double r2 = r * r;
    const double r5 = r2 * r2 * r;
    c.ratio10 = r5 * r5;
    c.inv_beta[0] = 1.0;
    c.inv_beta[1] = 1.0 / c.beta;
    for (int k = 2; k < 8; ++k) c.inv_beta[k] = c.inv_beta[k - 1] * c.inv_beta[1];

    double xp[top_x_exponent + 1];
    x_powers(c.X, xp);
    for (int r = 0; r < 8; ++r)
        for (int k = 0; k < 3; ++k) c.term[r][k] = k < term_count[r] ? B[r][k] * xp[z[r][k]] : 0.0;
    for (int i = 0; i < 3; ++i) {
        double n = c.inv_beta[4 + i];  // beta^(2 - mu)
        double m = 0.0;
        for (int k = 0; k < small_b_count[i]; ++k) {
            const double term = small_b[i][k] * xp[l[i][k]];
            n += term;
            m += l[i][k] * term;
        }
        c.inv_N[i] = 1.0 / n;
        c.M_N[i] = m * c.inv_N[i];
    }
    return c;
}

// Sum over lambda of B_mu,lambda X^z_mu,lambda for row r (mu = r + 1).
double row_sum(const Common& c, int r) {
    double s = 0.0;
    for (int k = 0; k < term_count[r]; ++k) s += c.term[r][k];
    return s;
}

double volume(const Common& c) {
    double chi = I1 * c.theta / c.beta;
    double beta_pow = 1.0;  // beta^(mu - 1)
    for (int r = 0; r < 5; ++r) {
        chi -= (r + 1) * beta_pow * row_sum(c, r);
        beta_pow *= c.beta;
    }
    for (int i = 0; i < 3; ++i) {
        const int mu = i + 6;
        chi -= (mu - 2) * c.inv_beta[mu - 1] * row_sum(c, mu - 1) * (c.inv_N[i] * c.inv_N[i]);
    }
    double b9 = 0.0;
    for (int k = 6; k >= 0; --k) b9 = b9 * c.X + B9[k];
    chi += 11.0 * c.ratio10 * b9;
    return critical_volume * chi;
}

double enthalpy(const Common& c) {
    const double bt = b * c.theta;
    // Sum over v = 1 ... 5 of (v - 2) B0v theta^(v - 1), by Horner's rule.
    double poly = 0.0;
    for (int v = 5; v >= 1; --v) poly = poly * c.theta + (v - 2) * B0v[v];
    double H = B0 * c.theta - poly;
    double beta_pow = c.beta;  // beta^mu
    for (int r = 0; r < 5; ++r) {
        double s = 0.0;
        for (int k = 0; k < term_count[r]; ++k) s += c.term[r][k] * (1.0 + z[r][k] * bt);
        H -= beta_pow * s;
        beta_pow *= c.beta;
    }
    for (int i = 0; i < 3; ++i) {
        const int r = i + 5;
        const double MN = bt * c.M_N[i];
        double s = 0.0;
        for (int k = 0; k < term_count[r]; ++k) s += c.term[r][k] * ((1.0 + z[r][k] * bt) - MN);
        H -= s * c.inv_N[i];
    }
    const double lt = 10.0 * c.L_prime / c.beta_L;
    double b9 = 0.0;
    for (int k = 6; k >= 0; --k) b9 = b9 * c.X + B9[k] * (1.0 + c.theta * (lt + k * b));
    H += c.beta * c.ratio10 * b9;
    return enthalpy_scale * H;
}

double entropy(const Common& c) {
    // Sum over v = 2 ... 5 of (v - 1) B0v theta^(v - 2), by Horner's rule.
    double poly = 0.0;
    for (int v = 5; v >= 2; --v) poly = poly * c.theta + (v - 1) * B0v[v];
    double S = B0 * std::log(c.theta) - I1 * std::log(c.beta) - poly;
    double beta_pow = c.beta;  // beta^mu
    double sum = 0.0;
    for (int r = 0; r < 5; ++r) {
        double s = 0.0;
        for (int k = 0; k < term_count[r]; ++k) s += z[r][k] * c.term[r][k];
        sum += beta_pow * s;
        beta_pow *= c.beta;
    }
    for (int i = 0; i < 3; ++i) {
        const int r = i + 5;
        const double MN = c.M_N[i];
        double s = 0.0;
        for (int k = 0; k < term_count[r]; ++k) s += c.term[r][k] * (z[r][k] - MN);
        sum += s * c.inv_N[i];
    }
    S -= b * sum;
    const double lt = c.L_prime / c.beta_L;
    // The lambda = 0 term is 10 B90 L'/beta_L; the others B9,lambda (10 L'/beta_L + lambda b).
    double b9 = 0.0;
    for (int k = 6; k >= 1; --k) b9 = b9 * c.X + B9[k] * (10.0 * lt + k * b);
    b9 = b9 * c.X + ten_B90 * lt;
    S += c.beta * c.ratio10 * b9;
    return entropy_scale * S;
}

// dS/dtheta and dS/dbeta of the entropy sum above. With X = exp(b (1 - theta)),
// each X^z gives -b z X^z under d/dtheta, and N_mu, M_mu follow the same way.
void entropy_slopes(const Common& c, double* S_theta, double* S_beta) {
    double xp[top_x_exponent + 1];
    x_powers(c.X, xp);
    double poly = 0.0;  // sum over v = 3 ... 5 of (v - 1)(v - 2) B0v theta^(v - 3)
    for (int v = 5; v >= 3; --v) poly = poly * c.theta + (v - 1) * (v - 2) * B0v[v];
    double st = B0 / c.theta - poly;
    double sb = -I1 / c.beta;
    double beta_pow = c.beta;  // beta^mu
    for (int r = 0; r < 5; ++r) {
        double a1 = 0.0, a2 = 0.0;
        for (int k = 0; k < term_count[r]; ++k) {
            a1 += z[r][k] * c.term[r][k];
            a2 += z[r][k] * z[r][k] * c.term[r][k];
        }
        st += b * b * beta_pow * a2;
        sb -= b * (r + 1) * (beta_pow / c.beta) * a1;
        beta_pow *= c.beta;
    }
    for (int i = 0; i < 3; ++i) {
        const int r = i + 5, mu = i + 6;
        double a0 = 0.0, a1 = 0.0, a2 = 0.0, m2 = 0.0;
        for (int k = 0; k < term_count[r]; ++k) {
            a0 += c.term[r][k];
            a1 += z[r][k] * c.term[r][k];
            a2 += z[r][k] * z[r][k] * c.term[r][k];
        }
        for (int k = 0; k < small_b_count[i]; ++k)
            m2 += l[i][k] * l[i][k] * small_b[i][k] * xp[l[i][k]];
        const double iN = c.inv_N[i], MN = c.M_N[i];
        st += b * b * iN * (a2 - 2.0 * a1 * MN - a0 * m2 * iN + 2.0 * a0 * MN * MN);
        const double dN_dbeta = (2 - mu) * c.inv_beta[mu - 1];
        sb -= b * iN * iN * (2.0 * a0 * MN - a1) * dN_dbeta;
    }
    const double q = c.L_prime / c.beta_L;
    const double dq = 2.0 * l_function_L2 / c.beta_L - q * q;
    double b9t = 0.0, b9b = 0.0;
    for (int k = 6; k >= 0; --k) {
        const double w = 10.0 * q + k * b;
        b9t = b9t * c.X + B9[k] * (10.0 * dq - w * w);
        b9b = b9b * c.X + B9[k] * w;
    }
    st += c.beta * c.ratio10 * b9t;
    sb += 11.0 * c.ratio10 * b9b;
    if (S_theta) *S_theta = st;
    if (S_beta) *S_beta = sb;
}

}  // namespace

void sub2_properties_slopes(double T, double p, double* v, double* h, double* s, double* s_T,
                            double* s_p) {
    const Common c = common(T, p);
    if (v) *v = volume(c);
    if (h) *h = enthalpy(c);
    if (s) *s = entropy(c);
    double S_theta = 0.0, S_beta = 0.0;
    entropy_slopes(c, s_T ? &S_theta : nullptr, s_p ? &S_beta : nullptr);
    if (s_T) *s_T = entropy_scale * S_theta / critical_temperature;
    if (s_p) *s_p = entropy_scale * S_beta / critical_pressure;
}

double sub2_volume(double T, double p) {
    return volume(common(T, p));
}

double sub2_enthalpy(double T, double p) {
    return enthalpy(common(T, p));
}

double sub2_entropy(double T, double p) {
    return entropy(common(T, p));
}

void sub2_properties(double T, double p, double* v, double* h, double* s) {
    const Common c = common(T, p);
    if (v) *v = volume(c);
    if (h) *h = enthalpy(c);
    if (s) *s = entropy(c);
}
