#pragma once
// TDataModule1 (unit DM): the application's data layer. It holds the connection to ADR.mdb,
// the four read-only queries over WHOART and LJXT and the four data sources the search
// window's grids show. It has no code of its own; everything is configuration, applied as the
// stored description would be: components created in the stored order between BeginLoading
// and EndLoading, so loading connects and then opens the queries in that order (each master
// before its detail).
//
// The two master-detail pairs:
//   adoqryBLFY  (terms, filtered by a search)         -> dsBLFY  -> adoqryLJQG  (their organ systems)
//   adoqryLJQG2 (organ systems, filtered by a search) -> dsLJQG2 -> adoqryBLFY2 (their terms)
#include "platform/core/component.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"

class TDataModule1 : public TComponent {
 public:
  // Raises the record-set layer's EDatabaseError when the database cannot be opened.
  explicit TDataModule1(TComponent* AOwner);

  // Owned by this module (as its components); in creation order.
  TADOConnection* ADOConnection;
  TDataSource* dsBLFY;
  TDataSource* dsLJQG;
  TADOQuery* adoqryLJQG2;
  TADOQuery* adoqryBLFY;
  TADOQuery* adoqryLJQG;
  TADOQuery* adoqryBLFY2;
  TDataSource* dsLJQG2;
  TDataSource* dsBLFY2;
};

// The one instance, set by the application when it creates the module.
extern TDataModule1* DataModule1;

// The connection string the module's connection is stored with.
extern const char* const kDataModuleConnectionString;
