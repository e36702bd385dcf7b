#pragma once
// Fixed word stock of the synthetic terminology generator: Chinese characters with the
// initial of their pinyin, English words for term names, and the organ-system list.
#include <cstddef>

struct TSynthHanzi {
  const char* Character;  // one CJK character, UTF-8
  char Initial;           // first letter of its pinyin, upper case
};

struct TSynthOrganSystem {
  const char* Sid;    // four digits
  const char* Name;   // Chinese
  const char* EName;  // English, upper case
};

template <typename T>
struct TSynthList {
  const T* Items;
  size_t Count;
  const T& operator[](size_t i) const { return Items[i]; }
};

TSynthList<TSynthHanzi> SynthHanzi();
TSynthList<TSynthOrganSystem> SynthOrganSystems();  // 30 systems, ascending codes

// English words, upper case.
TSynthList<const char*> SynthBodySites();      // "ABDOMEN", "SKIN", ...
TSynthList<const char*> SynthFindings();       // "PAIN", "ENLARGED", ...
TSynthList<const char*> SynthConditions();     // "HEPATITIS", "RASH", ...
TSynthList<const char*> SynthQualifiers();     // "ACUTE", "HAEMOLYTIC", ...
TSynthList<const char*> SynthEponyms();        // possessives: "CROHN'S", "GRAVES'", ...
TSynthList<const char*> SynthEponymNouns();    // "DISEASE", "SYNDROME", ...
