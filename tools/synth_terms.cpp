#include "tools/synth_terms.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "platform/core/exception.h"
#include "tools/synth_vocabulary.h"
#include "tools/terminology_schema.h"

namespace {

// SplitMix64: small, fast, and the same everywhere.
class TSynthRandom {
 public:
  explicit TSynthRandom(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in 0..bound-1 (the tiny modulo bias does not matter for test data).
  size_t Below(size_t bound) { return size_t(Next() % bound); }
  // Index into weights, chosen in proportion to them.
  template <size_t N>
  size_t Weighted(const int (&weights)[N]) {
    int total = 0;
    for (int w : weights) total += w;
    int pick = int(Below(size_t(total)));
    for (size_t i = 0; i < N; ++i) {
      if (pick < weights[i]) return i;
      pick -= weights[i];
    }
    return N - 1;
  }

 private:
  uint64_t state_;
};

template <typename T>
const T& Pick(TSynthRandom& random, const TSynthList<T>& list) {
  return list[random.Below(list.Count)];
}

std::string EnglishName(TSynthRandom& random) {
  // Shapes: site + finding, (qualifier +) condition, "condition, qualifier", eponym.
  static const int kShapeWeights[] = {45, 30, 13, 12};
  std::string name;
  switch (random.Weighted(kShapeWeights)) {
    case 0:
      name = std::string(Pick(random, SynthBodySites())) + " " + Pick(random, SynthFindings());
      break;
    case 1:
      if (random.Below(2)) name = std::string(Pick(random, SynthQualifiers())) + " ";
      name += Pick(random, SynthConditions());
      break;
    case 2:
      name = std::string(Pick(random, SynthConditions())) + ", " + Pick(random, SynthQualifiers());
      break;
    default:
      name = std::string(Pick(random, SynthEponyms())) + " " + Pick(random, SynthEponymNouns());
      break;
  }
  return name;
}

int DigitsFor(size_t largest) {
  int digits = 1;
  for (size_t v = largest; v >= 10; v /= 10) ++digits;
  return std::max(digits, 4);
}

std::string ZeroPadded(uint64_t value, int digits) {
  std::string text = std::to_string(value);
  return std::string(size_t(std::max(0, digits - int(text.size()))), '0') + text;
}

}  // namespace

TSynthTermGenerator::TSynthTermGenerator(size_t termCount, uint64_t seed)
    : termCount_(termCount), seed_(seed) {
  if (termCount < 1 || termCount > kSynthMaxTerms)
    throw EInvalidOperation("A synthetic terminology has 1 to " + std::to_string(kSynthMaxTerms) + " terms");
  TSynthRandom random(seed ^ 0x5157494C4C4F4E00ull);
  tidStep_ = 1 + random.Below(termCount);
  while (std::gcd(tidStep_, uint64_t(termCount)) != 1) tidStep_ = tidStep_ % termCount + 1;
  tidOffset_ = random.Below(termCount);
  tidDigits_ = DigitsFor(termCount - 1);
}

void TSynthTermGenerator::Term(size_t termIndex, TMdbRow& row) const {
  TSynthRandom random(seed_ * 0x9E3779B97F4A7C15ull + termIndex);
  static const int kLengthWeights[] = {15, 22, 30, 14, 9, 5, 5};  // 2..8 characters
  const size_t length = 2 + random.Weighted(kLengthWeights);
  std::string py, name;
  const TSynthList<TSynthHanzi> hanzi = SynthHanzi();
  for (size_t i = 0; i < length; ++i) {
    const TSynthHanzi& h = Pick(random, hanzi);
    py += h.Initial;
    name += h.Character;
  }

  static const int kSystemCountWeights[] = {60, 30, 10};  // one, two, three organ systems
  const size_t systemCount = 1 + random.Weighted(kSystemCountWeights);
  const TSynthList<TSynthOrganSystem> systems = SynthOrganSystems();
  size_t chosen[3];
  for (size_t k = 0; k < systemCount; ++k) {
    do chosen[k] = random.Below(systems.Count);
    while (std::find(chosen, chosen + k, chosen[k]) != chosen + k);
  }

  const uint64_t tid = (uint64_t(termIndex) * tidStep_ + tidOffset_) % termCount_;
  row.assign(whoColumnCount, std::nullopt);
  row[whoPY] = std::move(py);
  row[whoNAME] = std::move(name);
  row[whoENAME] = EnglishName(random);
  row[whoTID] = ZeroPadded(tid, tidDigits_);
  for (size_t k = 0; k < systemCount; ++k) row[whoSID1 + k] = systems[chosen[k]].Sid;
}

TMdbRow TSynthTermGenerator::Term(size_t termIndex) const {
  TMdbRow row;
  Term(termIndex, row);
  return row;
}

std::vector<TMdbRow> SynthOrganSystemRows() {
  std::vector<TMdbRow> rows;
  const TSynthList<TSynthOrganSystem> systems = SynthOrganSystems();
  for (size_t i = 0; i < systems.Count; ++i) rows.push_back({systems[i].Sid, systems[i].Name, systems[i].EName});
  return rows;
}

TSynthTerminology SynthTerminology(size_t termCount, uint64_t seed) {
  const TSynthTermGenerator generator(termCount, seed);
  TSynthTerminology terminology;
  terminology.Whoart.resize(termCount);
  for (size_t i = 0; i < termCount; ++i) generator.Term(i, terminology.Whoart[i]);
  terminology.Ljxt = SynthOrganSystemRows();
  return terminology;
}

void WriteSynthMdb(const std::filesystem::path& path, size_t termCount, uint64_t seed) {
  const TSynthTermGenerator generator(termCount, seed);
  size_t next = 0;
  TMdbTable whoart{kWhoartTableName, WhoartColumns(), {}, [&](TMdbRow& row) {
                     if (next == generator.TermCount()) return false;
                     generator.Term(next++, row);
                     return true;
                   }};
  TMdbTable ljxt{kLjxtTableName, LjxtColumns(), SynthOrganSystemRows(), {}};
  WriteMdbFile(path, {std::move(whoart), std::move(ljxt)});
}
