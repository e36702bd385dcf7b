#include "platform/db/parameters.h"

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"

TParameter* TParameters::FindParam(std::string_view AName) {
  std::string wanted = AnsiUpperCase(AName);
  for (auto& p : items_)
    if (AnsiUpperCase(p->Name) == wanted) return p.get();
  return nullptr;
}

TParameter& TParameters::ParamByName(std::string_view AName) {
  TParameter* p = FindParam(AName);
  if (!p) throw EDatabaseError("Parameter '" + std::string(AName) + "' not found");
  return *p;
}

TParameter& TParameters::AddParameter(std::string AName) {
  items_.push_back(std::make_unique<TParameter>(std::move(AName)));
  return *items_.back();
}

void TParameters::Assign(const std::vector<std::string>& names) {
  std::vector<std::unique_ptr<TParameter>> next;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i < items_.size() && AnsiUpperCase(items_[i]->Name) == AnsiUpperCase(names[i]))
      next.push_back(std::move(items_[i]));
    else
      next.push_back(std::make_unique<TParameter>(names[i]));
  }
  items_ = std::move(next);
}
