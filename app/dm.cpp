#include "app/dm.h"

TDataModule1* DataModule1 = nullptr;

const char* const kDataModuleConnectionString =
    "Provider=Microsoft.Jet.OLEDB.4.0;Password=\"\";User ID=Admin;Data Source=ADR.mdb;"
    "Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
    "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
    "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
    "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
    "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
    "Jet OLEDB:Don't Copy Locale on Compact=False;"
    "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";

namespace {

template <typename T>
T* create(TComponent* owner, const char* name) {
  T* component = new T(owner);  // the owner frees it
  component->SetName(name);
  return component;
}

// Settings every query of the module shares: a static client-side snapshot.
void configureQuery(TADOQuery* q, TADOConnection* connection, std::vector<std::string> sql) {
  q->SetConnection(connection);
  q->SetCursorType(ctStatic);
  q->SetCursorLocation(clUseClient);
  q->SetLockType(ltOptimistic);
  q->SetSQL(std::move(sql));
}

// One stored parameter: input, nullable, fixed char, precision and scale 255.
void configureParameter(TADOQuery* q, int position, int size, const Variant& value) {
  TParameter& p = q->Parameters()[position];
  p.Direction = pdInput;
  p.Attributes = {paNullable};
  p.DataType = ftFixedChar;
  p.Precision = 255;
  p.NumericScale = 255;
  p.Size = size;
  p.Value = value;
}

}  // namespace

TDataModule1::TDataModule1(TComponent* AOwner) : TComponent(AOwner) {
  SetName("DataModule1");
  BeginLoading();
  ADOConnection = create<TADOConnection>(this, "ADOConnection");
  dsBLFY = create<TDataSource>(this, "dsBLFY");
  dsLJQG = create<TDataSource>(this, "dsLJQG");
  adoqryLJQG2 = create<TADOQuery>(this, "adoqryLJQG2");
  adoqryBLFY = create<TADOQuery>(this, "adoqryBLFY");
  adoqryLJQG = create<TADOQuery>(this, "adoqryLJQG");
  adoqryBLFY2 = create<TADOQuery>(this, "adoqryBLFY2");
  dsLJQG2 = create<TDataSource>(this, "dsLJQG2");
  dsBLFY2 = create<TDataSource>(this, "dsBLFY2");

  ADOConnection->SetConnectionString(kDataModuleConnectionString);
  ADOConnection->SetLoginPrompt(false);
  ADOConnection->SetMode(cmShareDenyNone);
  ADOConnection->SetProvider("Microsoft.Jet.OLEDB.4.0");
  ADOConnection->SetConnected(true);

  dsBLFY->SetDataSet(adoqryBLFY);
  dsLJQG->SetDataSet(adoqryLJQG);

  configureQuery(adoqryLJQG2, ADOConnection, {"SELECT * FROM LJXT"});
  adoqryLJQG2->SetFilter("SID=' '");
  adoqryLJQG2->SetFiltered(true);
  adoqryLJQG2->SetActive(true);

  configureQuery(adoqryBLFY, ADOConnection, {"SELECT * FROM WHOART"});
  adoqryBLFY->SetFilter("TID=' '");
  adoqryBLFY->SetFiltered(true);
  adoqryBLFY->SetActive(true);

  configureQuery(adoqryLJQG, ADOConnection,
                 {"SELECT * FROM LJXT", "WHERE SID=:SID1 OR SID=:SID2 OR SID=:SID3"});
  adoqryLJQG->SetDataSource(dsBLFY);
  configureParameter(adoqryLJQG, 0, 4, Variant(""));
  configureParameter(adoqryLJQG, 1, 4, Variant::Null());
  configureParameter(adoqryLJQG, 2, 4, Variant::Null());
  adoqryLJQG->SetActive(true);

  configureQuery(adoqryBLFY2, ADOConnection,
                 {"SELECT * FROM WHOART", "WHERE SID1=:SID OR SID2=:SID OR SID3=:SID"});
  adoqryBLFY2->SetDataSource(dsLJQG2);
  configureParameter(adoqryBLFY2, 0, 4, Variant::Null());
  configureParameter(adoqryBLFY2, 1, 510, Variant::Null());
  configureParameter(adoqryBLFY2, 2, 510, Variant::Null());
  adoqryBLFY2->SetActive(true);

  dsLJQG2->SetDataSet(adoqryLJQG2);
  dsBLFY2->SetDataSet(adoqryBLFY2);
  EndLoading();  // connects, then opens the queries in creation order
}
