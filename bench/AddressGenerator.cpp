#include "AddressGenerator.h"

#include <array>

namespace {
// splitmix64: tiny, and the same numbers on every platform and library.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    qsizetype below(qsizetype n) { return qsizetype(next() % quint64(n)); }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    template <class T, size_t N> const T& pick(const std::array<T, N>& items) {
        return items[size_t(below(qsizetype(N)))];
    }

private:
    quint64 state_;
};

struct BigDomain {
    const char* name;
    double share; // cumulative share of all addresses
};
constexpr std::array<BigDomain, 4> kBigDomains{{{"mailbox.com", 0.18},
                                                {"postmail.com", 0.30},
                                                {"inboxly.net", 0.37},
                                                {"quickmail.org", 0.40}}};
constexpr qsizetype kTailDomains = 40000;

constexpr std::array<const char*, 24> kSyllables{
    "al",  "ber", "ca", "dor", "en", "fi", "gan", "ho", "is", "jo", "ka",  "lin",
    "mar", "no",  "or", "pe",  "qu", "ra", "sol", "ta", "um", "ve", "wen", "zo"};
constexpr std::array<const char*, 9> kTopLevel{".com", ".net", ".org",  ".de", ".co.uk",
                                               ".io",  ".fr",  ".info", ".nl"};
constexpr std::array<const char*, 32> kFirstNames{
    "anna", "ben",  "carla", "david", "eva",   "frank", "greta", "hugo", "ines",  "jan",  "kim",
    "lena", "max",  "nora",  "oskar", "paula", "rosa",  "sven",  "tina", "yusuf", "amir", "bea",
    "chen", "dana", "emil",  "fay",   "gil",   "hana",  "ivo",   "joy",  "kai",   "lea"};
constexpr std::array<const char*, 32> kLastNames{
    "meyer", "smith",  "garcia",  "novak",  "rossi",    "berg",      "kowalski", "dubois",
    "silva", "jensen", "fischer", "brown",  "moreau",   "lindqvist", "horvat",   "costa",
    "weber", "young",  "ortiz",   "keller", "nakamura", "okafor",    "petrov",   "quinn",
    "sato",  "tanaka", "ulrich",  "varga",  "wojcik",   "xu",        "yilmaz",   "zhang"};

// The tail domain number k, the same text every time.
QString tailDomain(qsizetype k) {
    Random random(quint64(k) * 7919 + 17);
    QString name;
    for (qsizetype s = 2 + random.below(2); s > 0; --s)
        name += QLatin1String(random.pick(kSyllables));
    if (random.below(5) == 0)
        name += QString::number(random.below(100));
    return name + QLatin1String(random.pick(kTopLevel));
}

QString domain(Random& random) {
    const double u = random.unit();
    for (const BigDomain& big : kBigDomains)
        if (u < big.share)
            return QLatin1String(big.name);
    const double v = random.unit(); // the smaller the number, the more addresses
    return tailDomain(qsizetype(v * v * kTailDomains));
}

QString localPart(Random& random) {
    const QString first = QLatin1String(random.pick(kFirstNames));
    const QString last = QLatin1String(random.pick(kLastNames));
    // Most people add a number, which keeps accidental twins rare.
    const QString number = random.below(8) == 0 ? QString() : QString::number(random.below(10000));
    switch (random.below(4)) {
    case 0:
        return first + u'.' + last + number;
    case 1:
        return first + last + number;
    case 2:
        return first.left(1) + u'.' + last + number;
    default:
        return first + u'_' + last + number;
    }
}
} // namespace

QStringList GenerateAddresses(qsizetype count, quint64 seed) {
    Random random(seed);
    QStringList addresses;
    addresses.reserve(count);
    while (addresses.size() < count) {
        if (!addresses.isEmpty() && random.unit() < 0.05) {
            addresses.append(addresses[random.below(addresses.size())]);
            continue;
        }
        QString local = localPart(random);
        QString host = domain(random);
        if (random.unit() < 0.03)
            local[0] = local[0].toUpper();
        if (random.unit() < 0.01)
            host = host.toUpper();
        addresses.append(local + u'@' + host);
    }
    return addresses;
}
