#include "tools/terminology_schema.h"

std::vector<TMdbColumn> WhoartColumns() {
  return {{"PY", TMdbColumnType::Text, 50},   {"NAME", TMdbColumnType::Text, 100},
          {"ENAME", TMdbColumnType::Text, 255}, {"TID", TMdbColumnType::Text, 10},
          {"SID1", TMdbColumnType::Text, 10}, {"SID2", TMdbColumnType::Text, 10},
          {"SID3", TMdbColumnType::Text, 10}};
}

std::vector<TMdbColumn> LjxtColumns() {
  return {{"SID", TMdbColumnType::Text, 10}, {"NAME", TMdbColumnType::Text, 100},
          {"ENAME", TMdbColumnType::Text, 255}};
}
