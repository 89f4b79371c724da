// The converged solvers' evaluation of the formulation: the subregion of a
// (T, p) state, the critical-region volume by Newton's method on the
// pressure, each state with its slopes, and the saturation temperature.
#include "converged/forward.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "properties/properties.h"
#include "properties/subregion_bounds.h"

namespace {

// The critical region's volumes lie between these [m3/kg] at every (T, p)
// of the range: the liquid at 623.15 K and 1000 bar has 0.00131, the vapour
// on the L line at 623.15 K 0.0088.
constexpr double volume_floor = 0.0012;
constexpr double volume_ceiling = 0.0105;
// Far above the critical temperature subregion 3's pressure has an
// unphysical maximum, below 0.0016 m3/kg in the range [m3/kg].
constexpr double unphysical_volume = 0.002;
// Above this temperature [K] the volume search starts from the L line.
constexpr double far_from_critical = 700.0;
// Within this multiple of the L line's pressure the search starts from it.
constexpr double near_l_line = 1.01;
// Each round takes a Newton step or halves the bracket; 100 halvings of the
// widest bracket reach below the spacing of doubles, so the cap is never the
// reason a search ends.
constexpr int volume_cap = 100;
// A Newton step this small (relative) leaves an error of its square: done.
constexpr double volume_step_done = 1e-13;
// The pressure sums round to about 1.5e-14 of p near their root: a residual
// within this share is the root to the last digits the sums allow.
constexpr double volume_residual_done = 2e-14;

// The saturation temperature: T [K] as a polynomial of degree 5 in
// u = 16 (m - 0.5 - q/8) - 1 on each quarter q = 0 ... 3 of each binary octave
// p = m 2^e (0.5 <= m < 1) from e = 10 (512 Pa) to e = 25 (the critical
// pressure), interpolated at the quarter's Chebyshev nodes: within 5.3e-7 K
// of the root and its slope within 1.9e-6 below 21 MPa, within 5.5e-4 K in
// the quarter that holds the critical point, where the K function bends
// within 0.05 K of it (the last two rows lie above the critical pressure and
// are not used). As scripts/fit-sat-temperature.py prints it.
constexpr int sat_first_octave = 10;
constexpr int sat_quarters = 4;
constexpr int sat_rows = 16 * sat_quarters;
constexpr int sat_critical_row = (25 - sat_first_octave) * sat_quarters + 1;
constexpr int sat_degree = 5;  // the evaluation below is written for 5
constexpr double sat_fit[sat_rows][sat_degree + 1] = {
    {272.34498874854359, 1.5196945793962819, -0.074904548540284097, 0.0052597009204002161,
     -0.00042866703150442237, 3.7200173134503224e-05},
    {275.12104878553527, 1.2720443907003394, -0.051208417173711496, 0.0029399872815171571,
     -0.00019518832914400264, 1.3850337381882127e-05},
    {277.48110629494892, 1.0972245105375578, -0.037318912241914859, 0.0018118697031847355,
     -0.00010151847679177686, 6.0927127378818113e-06},
    {279.53933097576612, 0.96688135354284555, -0.028463202494985275, 0.0011970443619020443,
     -5.8026809711009264e-05, 3.0171706081697871e-06},
    {282.21207313564355, 1.6463974772101577, -0.080636662141785109, 0.0056482390121080544,
     -0.00045963106920983893, 3.9844775907719544e-05},
    {285.22129956326171, 1.3796733762983089, -0.055179575142688009, 0.00315996102091276,
     -0.00020946619383721554, 1.4847237177188314e-05},
    {287.78229097371201, 1.1912222934636245, -0.040245528680183419, 0.0019489040723783544,
     -0.00010902346692394833, 6.5358287126097512e-06},
    {290.01779409991332, 1.0506088658862656, -0.030717064685916281, 0.0012884260771860074,
     -6.2355960759911483e-05, 3.2385847437884268e-06},
    {292.92359822583535, 1.7909590862423241, -0.087102053390178, 0.0060846270615494786,
     -0.00049431858231703996, 4.2802068871120959e-05},
    {296.19910759739832, 1.5027046782455924, -0.05966578573177609, 0.0034073878455084619,
     -0.00022548367731663649, 1.596353869596593e-05},
    {298.9899726251686, 1.2988444244771764, -0.04355614434712151, 0.0021032327704422942,
     -0.00011745298760009366, 7.0325966134987539e-06},
    {301.42859205187438, 1.1466065489958528, -0.033269628860504476, 0.0013914524533523338,
     -6.7223501370487299e-05, 3.4870590752689168e-06},
    {304.60185695422467, 1.9570079191523888, -0.094435393660546652, 0.0065773181049924761,
     -0.0005333716968228448, 4.6125066319291363e-05},
    {308.18354304391346, 1.6443126920806701, -0.064762930969967172, 0.0036871814950245607,
     -0.00024354470300143777, 1.7219748163673405e-05},
    {311.23922171768947, 1.4229324676265473, -0.047323061507692422, 0.0022779854813279599,
     -0.00012697032389041851, 7.5923288325914955e-06},
    {313.9122119208601, 1.257459762026651, -0.036177691131835367, 0.0015082508544802902,
     -7.2725411731274406e-05, 3.7673347984915986e-06},
    {317.39463200806171, 2.1491305845476396, -0.10280380879726181, 0.0071367241161510719,
     -0.00057757785892439029, 4.9878582027910547e-05},
    {321.33096587243944, 1.8085197688593269, -0.070590304571927234, 0.0040054088899902727,
     -0.00026402283522960107, 1.864098931037006e-05},
    {324.69400904457535, 1.567094234084242, -0.051636432358804996, 0.0024770341853468376,
     -0.00013777656931779347, 8.2264581730366136e-06},
    {327.63950761206206, 1.3864565626278278, -0.039512203661918953, 0.001641457840245645,
     -7.8980097138507205e-05, 4.0852416987036122e-06},
    {331.48206574827913, 2.3731726268410447, -0.11241659355675893, 0.0077757785813711662,
     -0.0006279105849292439, 5.4142484183709407e-05},
    {335.83246255255324, 2.0004638708074083, -0.077297714162379322, 0.0043696254387744675,
     -0.00028738105394647084, 2.0258297960632866e-05},
    {339.55515171688478, 1.7359465119631967, -0.056609735946343179, 0.0027052112797605332,
     -0.00015012146968729212, 8.949135083942867e-06},
    {342.82011098070734, 1.5378108428551323, -0.043362661417972959, 0.001794370155115151,
     -8.613487549761581e-05, 4.4480063176403437e-06},
    {347.08570488862608, 2.6366391254101464, -0.12353844823220091, 0.0085106930579854616,
     -0.00068558388860158925, 5.9016026549822222e-05},
    {351.92364429170954, 2.2267538626271062, -0.085075199011915473, 0.0047893276008229195,
     -0.00031419823911467876, 2.2110339765883204e-05},
    {356.0707863603638, 1.9354361924332342, -0.062387299005005531, 0.0029686048806259655,
     -0.00016431799258498359, 9.7780303652446783e-06},
    {359.71351935103826, 1.7169565073627855, -0.047843145064196804, 0.0019711497258185773,
     -9.43747186283872e-05, 4.8646696389672188e-06},
    {364.48042107998782, 2.9492200085056761, -0.1365077876938964, 0.0093619882101544736,
     -0.00075212583593990223, 6.4623658848480162e-05},
    {369.89755225107444, 2.4959320134142233, -0.094166533795373639, 0.0052765723155137794,
     -0.00034520510750250344, 2.4245733129646396e-05},
    {374.55014976891681, 2.1732552054034215, -0.069154787274290655, 0.003274964588892241,
     -0.0001807621543624312, 1.0735410342022078e-05},
    {378.64366703691184, 1.930924756790702, -0.053100778182321541, 0.0021771063076319779,
     -0.00010393417968164916, 5.3466532487315508e-06},
    {384.01004495316306, 3.3234562132352607, -0.15176246910118607, 0.010355922057897258,
     -0.00082947936675736855, 7.1122965588680615e-05},
    {390.12153104004818, 2.8190517115083318, -0.10488828234338142, 0.0058468398552615018,
     -0.00038133370359597996, 2.6726222661939875e-05},
    {395.38153781831738, 2.4593510164585171, -0.07715405321039269, 0.0036342694772505029,
     -0.00019996045072427174, 1.1849627753690584e-05},
    {400.01785000793535, 2.1888012398845356, -0.059327721532857439, 0.0024190949248274287,
     -0.00011511395844839474, 5.9085270246820674e-06},
    {406.10756384980732, 3.7755284848374702, -0.16987634598888232, 0.011526510258628756,
     -0.0009201429735033646, 7.8715619110880652e-05},
    {413.05887205855061, 3.2103405542160979, -0.11765688067138551, 0.0065202627806305218,
     -0.00042378689029950084, 2.9631095609753778e-05},
    {419.05517550579287, 2.8064942236230004, -0.086704211342521376, 0.0040595418939422716,
     -0.00022256858445264999, 1.3157199039900053e-05},
    {424.35065277385809, 2.5022180258813003, -0.066778149984694821, 0.0027060881864523858,
     -0.00012830441899798944, 6.5691087911545765e-06},
    {431.32038561568038, 4.3260641877570976, -0.19161067657046257, 0.012918453519451607,
     -0.0010273718708807185, 8.7662880332572968e-05},
    {439.29550592936096, 3.6878312998302833, -0.13302628190501764, 0.0073234170303824913,
     -0.00047413862489520398, 3.3063470103418993e-05},
    {446.19103361639384, 3.2307776631907834, -0.098230513335920477, 0.0045680370736060167,
     -0.00024944783316035074, 1.4705773689153526e-05},
    {452.292656466067, 2.8857498976606637, -0.075791134664693033, 0.003050013073144934,
     -0.00014402009242076019, 7.3530222834961023e-06},
    {460.34004976048374, 5.0006941396283269, -0.2179815743437151, 0.014591395174951078,
     -0.0011554767360545761, 9.8308128144708462e-05},
    {469.57058745844165, 4.2736920064952058, -0.15173553521196936, 0.0082918792937789476,
     -0.00053448533026312361, 3.715953046897387e-05},
    {477.569901955109, 3.7517827387048657, -0.11229958243836791, 0.0051828853628232228,
     -0.00028175160362782964, 1.6558559082113788e-05},
    {484.66171567484423, 3.3569570013672299, -0.086817791680838724, 0.0034668467713269515,
     -0.00016295364594043349, 8.2930672154664827e-06},
    {494.0334136335685, 5.8298612999386705, -0.25033869266906089, 0.016624825522436971,
     -0.0013103051582371941, 0.00011111105807988982},
    {504.80701697614029, 4.9937658270099794, -0.17476732010819279, 0.0094723320008066967,
     -0.00060770187565140077, 4.2102818194204396e-05},
    {514.16276930715583, 4.3919031718838157, -0.1296704791856958, 0.0059336089684241715,
     -0.00032108040098440444, 1.8801275928126415e-05},
    {522.47078351146502, 3.9355060841465006, -0.10047247686509309, 0.003976125149089663,
     -0.00018607899846756482, 9.4340039140661247e-06},
    {533.46735965106973, 6.8464027773166736, -0.29060653109672785, 0.019106401636008741,
     -0.0015002629675109347, 0.00012670568109266847},
    {546.13023827297002, 5.8740190646036767, -0.20367991171489544, 0.01090454545214925,
     -0.00069806222487992875, 4.8151697531769358e-05},
    {557.14103637864719, 5.1712311453921123, -0.15174770876050539, 0.0068340733072318471,
     -0.00036988889284354321, 2.1559060921087316e-05},
    {566.92590242477036, 4.6359682857461442, -0.11812658949114999, 0.0045762532112121335,
     -0.00021491183133548475, 1.0845585317535248e-05},
    {579.87915061041167, 8.0626404458685563, -0.34459128680915302, 0.021918278351942412,
     -0.0017375929123772949, 0.00014626990332544665},
    {594.7778297277996, 6.9018289136828903, -0.24519727674911942, 0.012412201170188078,
     -0.00080883795681074844, 5.6007678419215758e-05},
    {607.68869879248518, 6.0480807511629839, -0.18633943685479909, 0.0077071119106904007,
     -0.00042548205374259851, 2.5340917242525997e-05},
    {619.09510510551706, 5.3834241665266234, -0.14854844488915356, 0.005130136303364452,
     -0.00024241664141300134, 1.2886325293948175e-05},
    {634.03009335759646, 9.2178880612195151, -0.45045517398557422, 0.02484105611055535,
     -0.0018528477385189035, 0.00017427623682427412},
    {650.83802361447511, 7.6667893166754482, -0.33454890878556393, 0.014827820863160923,
     -0.0008919825492436454, 0.0002902189706522525},
    {664.94288975861207, 6.4884390091530122, -0.25891666813784769, 0.010614582649698908,
     -0.00041285932062843733, 2.1605061495696038e-05},
    {676.96303946314697, 5.568447646162487, -0.20370251204432557, 0.0079739163312524397,
     -0.00027086853803363431, 9.1249201735384596e-06},
};
// Below the critical row one Newton step on the K function's exponent with
// the fit's own slope leaves the start's error times the slope's, below
// 1e-12 K. In that row Newton's steps on the exact slope converge
// quadratically (the error goes from e to at most about 0.1 e^2 per kelvin):
// once a step is below sat_step_done what is left is below 1e-10 K; two steps
// reach double precision from the worst start, the cap leaves room.
constexpr double sat_step_done = 2e-5;
constexpr int sat_cap = 8;

double start_volume(int sub, bool liquid, double T, double p) {
    // Away from the critical isotherm, and next to the L line, the volume on
    // the L line at this temperature (subregion 2's), scaled as a gas's to
    // the pressure, is the nearer start.
    if (T > critical_temperature) {
        const double pL = critical_pressure * l_boundary_beta(T / critical_temperature);
        if (T > far_from_critical || p < near_l_line * pL) return sub2_volume(T, pL) * pL / p;
    }
    // The subregion-1 volume continued above 623.15 K lies within 0.6 % of
    // the liquid's.
    if (sub == subregion_4) return sub1_volume(T, p);
    if (p > critical_pressure) return critical_isotherm_volume(p);
    if (!liquid && T < critical_temperature) return sub3_vapour_side_volume(T) - 2e-5;
    return critical_volume;
}

}  // namespace

int subregion_on_side(double T, double p, bool liquid) {
    if (T <= sub12_top_temperature) return liquid ? subregion_1 : subregion_2;
    const bool below_L = l_boundary_beta(T / critical_temperature) >= p / critical_pressure;
    if (T < critical_temperature && std::fabs(T - critical_temperature) >= near_critical_band)
        return below_L ? subregion_2 : (liquid ? subregion_4 : subregion_3);
    if (T > band_top_temperature || std::fabs(T - band_top_temperature) < band_top_margin)
        return subregion_2;
    return below_L ? subregion_2 : subregion_3;
}

bool on_liquid_branch(double T, double p) {
    if (!(T < critical_temperature)) return false;
    const double ps = sat_pressure(T);
    return p > ps || std::fabs(p - ps) < sat_pressure_tolerance;
}

int subregion_of(double T, double p) {
    return subregion_on_side(T, p, on_liquid_branch(T, p));
}

double critical_region_volume(int sub, bool liquid, double T, double p, double v_guess) {
    double (*pressure)(double, double) = sub == subregion_3 ? sub3_pressure : sub4_pressure;
    double (*slope)(double, double) =
        sub == subregion_3 ? sub3_pressure_slope : sub4_pressure_slope;
    // Below the critical temperature the critical volume lies inside the loop,
    // between the liquid's and the vapour's volumes: it bounds each branch.
    double lo = volume_floor, hi = volume_ceiling;
    if (T < critical_temperature) (liquid ? hi : lo) = critical_volume;
    double v = v_guess > 0.0 ? v_guess : start_volume(sub, liquid, T, p);
    if (!(v > lo && v < hi)) v = 0.5 * (lo + hi);
    for (int i = 0; i < volume_cap; ++i) {
        const double f = pressure(T, v) - p;
        if (std::fabs(f) <= volume_residual_done * p) return v;
        const double fv = slope(T, v);
        // The pressure falls with the volume on either branch; where it rises
        // the volume is inside the loop, beyond the branch sought, or, above
        // the critical temperature, left of the unphysical maximum. At the
        // critical point itself the slope vanishes and the sign decides.
        const bool beyond = T < critical_temperature || v < unphysical_volume;
        if (!(fv < 0.0) && beyond)
            (liquid ? hi : lo) = v;
        else
            (f > 0.0 ? lo : hi) = v;
        double next = fv < 0.0 ? v - f / fv : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - v) <= volume_step_done * v) return next;
        v = next;
    }
    return v;
}

SlopedState state_in(int sub, bool liquid, double T, double p, double v_guess, int slopes) {
    SlopedState st{T, p, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (sub == subregion_1 || sub == subregion_2) {
        if (!slopes) {
            (sub == subregion_1 ? sub1_properties : sub2_properties)(T, p, &st.v, &st.h, &st.s);
            return st;
        }
        double* s_T = slopes & along_isobar ? &st.s_T : nullptr;
        double* s_p = slopes & along_isotherm ? &st.s_p : nullptr;
        (sub == subregion_1 ? sub1_properties_slopes : sub2_properties_slopes)(T, p, &st.v, &st.h,
                                                                               &st.s, s_T, s_p);
        st.h_T = T * st.s_T;
        st.h_p = st.v + T * st.s_p;
        return st;
    }
    const bool three = sub == subregion_3;
    st.v = critical_region_volume(sub, liquid, T, p, v_guess);
    st.h = three ? sub3_enthalpy(T, st.v) : sub4_enthalpy(T, st.v);
    st.s = three ? sub3_entropy(T, st.v) : sub4_entropy(T, st.v);
    if (slopes) {
        const ConvergedSlopes k = three ? sub3_slopes(T, st.v) : sub4_slopes(T, st.v);
        // Along an isobar the volume moves by dv/dT = -p_T / p_v; ds/dv = p_T.
        st.v_T = -k.p_T / k.p_v;
        st.v_p = 1.0 / k.p_v;
        st.h_T = k.h_T + k.h_v * st.v_T;
        st.s_T = k.s_T + k.p_T * st.v_T;
        st.h_p = k.h_v / k.p_v;
        st.s_p = k.p_T / k.p_v;
    }
    return st;
}

double saturation_temperature(double p) {
    if (p == critical_pressure) return critical_temperature;
    // The logarithm for the Newton step and the start from the fit are
    // independent: the processor overlaps them.
    const double y = std::log(p / critical_pressure);
    // p = m 2^e with 0.5 <= m < 1, read from the bits of the double (the
    // range holds normal numbers only): exponent field 1022 + e, the
    // quarter in the two leading bits of the fraction.
    std::uint64_t bits;
    std::memcpy(&bits, &p, sizeof bits);
    int row = (int((bits >> 52) & 0x7ff) - 1022 - sat_first_octave) * sat_quarters +
              int((bits >> 50) & 3);
    row = row < 0 ? 0 : (row > sat_critical_row ? sat_critical_row : row);
    bits = (bits & 0x800fffffffffffffULL) | (std::uint64_t(1022) << 52);
    double m;
    std::memcpy(&m, &bits, sizeof m);
    const double q = double((bits >> 50) & 3);
    const double u = 16.0 * (m - 0.5) - 2.0 * q - 1.0, u2 = u * u, u4 = u2 * u2;
    const double* c = sat_fit[row];
    double T = (c[0] + c[1] * u) + (c[2] + c[3] * u) * u2 + (c[4] + c[5] * u) * u4;
    if (row < sat_critical_row) {
        const double dT_du = (c[1] + 2 * c[2] * u) + (3 * c[3] + 4 * c[4] * u) * u2 + 5 * c[5] * u4;
        // dT/dy = dT/du du/dm dm/dy with du/dm = 16, dm/dy = m: one Newton step.
        return T - (sat_exponent(T) - y) * dT_du * 16.0 * m;
    }
    for (int i = 0; i < sat_cap; ++i) {
        const double step = sat_temperature_step(T, y);
        T += step;
        if (std::fabs(step) <= sat_step_done) break;
    }
    return T < critical_temperature ? T : critical_temperature;
}

void saturated_sides(double Ts, double ps, SlopedState* liquid, SlopedState* vapour, int slopes) {
    const bool low = Ts <= sub12_top_temperature;
    *liquid = state_in(low ? subregion_1 : subregion_4, true, Ts, ps, 0.0, slopes);
    *vapour = state_in(low ? subregion_2 : subregion_3, false, Ts, ps, 0.0, slopes);
}
