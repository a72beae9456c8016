// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analysis/RegressionObject.h"
#include "data/StarFileImport.h"
#include "support/TempTable.h"

namespace sabrix {
namespace {

struct Point {
    double x, y;
};

RegressionObject Fit(int degree, const std::vector<Point>& points) {
    RegressionObject r;
    r.SetDegree(degree);
    for (const Point& p : points) EXPECT_TRUE(r.XYAdd(p.x, p.y));
    return r;
}

TEST(RegressionObject, ThreePointsOfAParabola) {
    RegressionObject r = Fit(2, {{0, 1}, {1, 3}, {2, 7}});
    for (int e = 0; e <= 2; ++e) EXPECT_NEAR(r.Coeff(e), 1, 1e-12) << e;
    EXPECT_NEAR(r.RegVal(3), 13, 1e-12);
    EXPECT_EQ(r.Coeff(-1), r.Coeff(1));
    EXPECT_EQ(r.Coeff(3), 0);
}

TEST(RegressionObject, FewerPointsLowerTheEffectiveDegree) {
    RegressionObject two = Fit(2, {{1, 2}, {3, 6}});
    EXPECT_EQ(two.EffectiveDegree(), 1);
    EXPECT_NEAR(two.Coeff(0), 0, 1e-12);
    EXPECT_NEAR(two.Coeff(1), 2, 1e-12);
    EXPECT_EQ(two.Coeff(2), 0);
    EXPECT_NEAR(two.RegVal(10), 20, 1e-12);

    RegressionObject one = Fit(5, {{4, 9.5}});
    EXPECT_EQ(one.EffectiveDegree(), 0);
    for (double x : {-100.0, 0.0, 4.0, 1e4}) EXPECT_NEAR(one.RegVal(x), 9.5, 1e-12) << x;

    RegressionObject none = Fit(3, {});
    EXPECT_EQ(none.XYCount(), 0);
    EXPECT_EQ(none.RegVal(1), 0);
    EXPECT_EQ(none.Coeff(0), 0);
    EXPECT_FALSE(none.Solved());
}

TEST(RegressionObject, DegreeZeroIsTheMean) {
    RegressionObject r = Fit(0, {{0, 8}, {5, 9}, {7, 11}, {100, 12}});
    EXPECT_NEAR(r.RegVal(-50), 10, 1e-12);
    EXPECT_NEAR(r.RegVal(1e5), 10, 1e-12);
}

TEST(RegressionObject, DegreeOutsideZeroToFortyIsError6000AndChangesNothing) {
    RegressionObject r;
    r.SetDegree(40);
    EXPECT_EQ(r.Degree(), 40);
    r.XYAdd(1, 2);
    for (int bad : {41, -1}) {
        try {
            r.SetDegree(bad);
            ADD_FAILURE() << bad << " was accepted";
        } catch (const RegressionDegreeError& e) {
            EXPECT_EQ(std::string(e.what()), std::to_string(bad) +
                                                 " is an invalid property value! Use 0<= "
                                                 "Degree <= 40");
        }
        EXPECT_EQ(r.Degree(), 40);
        EXPECT_EQ(r.XYCount(), 1);
    }
    EXPECT_EQ(RegressionDegreeError::kNumber, 6000);
}

TEST(RegressionObject, ChangingTheDegreeDiscardsThePoints) {
    RegressionObject r = Fit(2, {{0, 1}, {1, 2}});
    r.SetDegree(3);
    EXPECT_EQ(r.XYCount(), 0);
    EXPECT_EQ(r.RegVal(1), 0);
}

TEST(RegressionObject, PointsAtOneXFallBackToTheMeanWithoutError) {
    for (int degree : {1, 2, 8}) {
        RegressionObject r = Fit(degree, {{3, 8}, {3, 9}, {3, 10}, {3, 11}});
        EXPECT_EQ(r.EffectiveDegree(), 0) << degree;
        EXPECT_NEAR(r.RegVal(3), 9.5, 1e-12) << degree;
        EXPECT_TRUE(std::isfinite(r.Coeff(1))) << degree;
    }
}

TEST(RegressionObject, OverflowingSumIsRefusedAndLeavesThePointsBefore) {
    RegressionObject r;
    r.SetDegree(0);
    EXPECT_TRUE(r.XYAdd(0, 1e308));
    EXPECT_FALSE(r.XYAdd(1, 1e308));
    EXPECT_EQ(r.XYCount(), 1);
    EXPECT_EQ(r.RegVal(0), 1e308);
}

TEST(RegressionObject, CoefficientsAreInPowersOfXOverAWideRange) {
    // y = 2 - 3e-4 x + 5e-9 x^2 over 40,000 days.
    RegressionObject r;
    r.SetDegree(2);
    r.SetXRange(0, 40000);
    for (int i = 0; i <= 400; ++i) {
        const double x = i * 100.0;
        r.XYAdd(x, 2 - 3e-4 * x + 5e-9 * x * x);
    }
    EXPECT_NEAR(r.Coeff(0), 2, 1e-9);
    EXPECT_NEAR(r.Coeff(1), -3e-4, 1e-13);
    EXPECT_NEAR(r.Coeff(2), 5e-9, 1e-17);
    EXPECT_NEAR(r.RegVal(20000), 2 - 6 + 2, 1e-9);
}

// The least-squares polynomial by Householder QR of the whole design matrix (Legendre basis on
// the data's range, long double): the reference the object's running sums must agree with.
std::vector<double> ReferenceFit(const std::vector<Point>& points, int degree) {
    double lo = points[0].x, hi = points[0].x;
    for (const Point& p : points) {
        lo = std::min(lo, p.x);
        hi = std::max(hi, p.x);
    }
    const size_t n = points.size();
    const int m = degree + 1;
    auto basis = [&](double x, int k) {
        const long double t = (2.0L * x - lo - hi) / (hi - lo);
        long double p0 = 1, p1 = t;
        if (k == 0) return p0;
        for (int j = 1; j < k; ++j) {
            const long double p2 = ((2 * j + 1) * t * p1 - j * p0) / (j + 1);
            p0 = p1;
            p1 = p2;
        }
        return p1;
    };
    std::vector<std::vector<long double>> a(n, std::vector<long double>(size_t(m) + 1));
    for (size_t i = 0; i < n; ++i) {
        for (int k = 0; k < m; ++k) a[i][size_t(k)] = basis(points[i].x, k);
        a[i][size_t(m)] = points[i].y;
    }
    for (int k = 0; k < m; ++k) {
        long double norm = 0;
        for (size_t i = size_t(k); i < n; ++i) norm += a[i][size_t(k)] * a[i][size_t(k)];
        norm = std::sqrt(norm);
        const long double alpha = a[size_t(k)][size_t(k)] > 0 ? -norm : norm;
        std::vector<long double> v(n, 0);
        for (size_t i = size_t(k); i < n; ++i) v[i] = a[i][size_t(k)];
        v[size_t(k)] -= alpha;
        long double vv = 0;
        for (size_t i = size_t(k); i < n; ++i) vv += v[i] * v[i];
        for (int j = k; j <= m; ++j) {
            long double s = 0;
            for (size_t i = size_t(k); i < n; ++i) s += v[i] * a[i][size_t(j)];
            for (size_t i = size_t(k); i < n; ++i) a[i][size_t(j)] -= 2 * s / vv * v[i];
        }
    }
    std::vector<long double> c(size_t(m), 0);
    for (int i = m - 1; i >= 0; --i) {
        long double s = a[size_t(i)][size_t(m)];
        for (int j = i + 1; j < m; ++j) s -= a[size_t(i)][size_t(j)] * c[size_t(j)];
        c[size_t(i)] = s / a[size_t(i)][size_t(i)];
    }
    std::vector<double> values;
    for (const Point& p : points) {
        long double y = 0;
        for (int k = 0; k < m; ++k) y += c[size_t(k)] * basis(p.x, k);
        values.push_back(static_cast<double>(y));
    }
    return values;
}

void ExpectLeastSquares(const std::vector<Point>& points, int degree, double lo, double hi) {
    RegressionObject r;
    r.SetDegree(degree);
    r.SetXRange(lo, hi);
    for (const Point& p : points) ASSERT_TRUE(r.XYAdd(p.x, p.y));
    ASSERT_EQ(r.EffectiveDegree(), degree);
    const std::vector<double> reference = ReferenceFit(points, degree);
    double worst = 0;
    for (size_t i = 0; i < points.size(); ++i)
        worst = std::max(worst, std::fabs(r.RegVal(points[i].x) - reference[i]));
    EXPECT_LT(worst, 0.001) << "degree " << degree;
}

TEST(RegressionObject, FitOfARealDownloadIsTheLeastSquaresPolynomial) {
    test::TempTable t;
    Settings colors;
    t.LoadStarFile(test::SampleFile("download-mixed.txt"), colors);
    const DataExtremes e = *t.table.Extremes(PointFilter());
    std::vector<Point> points;
    t.table.ForEachMagnitudeInWindow(e.JDFirst, e.JDLast, PointFilter(),
                                     [&](double jd, double mag) {
                                         points.push_back({jd - e.JDFirst, mag});
                                     });
    ASSERT_GT(points.size(), 4000u);
    for (int degree : {2, 8, 15}) ExpectLeastSquares(points, degree, 0, e.JDLast - e.JDFirst);
}

TEST(RegressionObject, LongLightCurveFitsAtEveryDegreeWithoutOverflow) {
    // 16,300 observations over 40,528 days, denser in the later decades.
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0, 1);
    std::normal_distribution<double> noise(0, 0.2);
    std::vector<Point> points;
    for (int i = 0; i < 16300; ++i) {
        const double x = 40528 * std::sqrt(unit(random));
        points.push_back(
            {x, 9 + 1.5 * std::sin(x / 3000) + 0.5 * std::cos(x / 700) + noise(random)});
    }
    for (int degree : {2, 8, 15}) ExpectLeastSquares(points, degree, 0, 40528);
    RegressionObject r;
    r.SetDegree(40);
    r.SetXRange(0, 40528);
    for (const Point& p : points) ASSERT_TRUE(r.XYAdd(p.x, p.y));
    for (double x = 0; x <= 40528; x += 1000) EXPECT_TRUE(std::isfinite(r.RegVal(x))) << x;
}

}  // namespace
}  // namespace sabrix
