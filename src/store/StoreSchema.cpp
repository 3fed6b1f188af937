#include "store/StoreSchema.h"

#include <array>

#include "store/Sqlite.h"

namespace store {
namespace {

constexpr std::array kDownloadFields{
    FieldDef{"编号", FieldKind::Number},     FieldDef{"文件完整地址", FieldKind::Text},
    FieldDef{"下载文件名", FieldKind::Text}, FieldDef{"下载路径", FieldKind::Text},
    FieldDef{"歌曲来源", FieldKind::Text},
};
constexpr std::array kSettingFields{
    FieldDef{"下载速度", FieldKind::Text},
    FieldDef{"下载路径", FieldKind::Text},
    FieldDef{"自动下载", FieldKind::Number},
};
constexpr std::array kCompletedFields{
    FieldDef{"文件名", FieldKind::Text},
    FieldDef{"完成时间", FieldKind::Text},
    FieldDef{"歌曲来源", FieldKind::Text},
    FieldDef{"下载目录", FieldKind::Text},
};

const TableDef kDownloads{"下载记录", kDownloadFields, 0};
const TableDef kSettings{"设置记录", kSettingFields, -1};
const TableDef kCompleted{"完成下载", kCompletedFields, -1};

}  // namespace

const TableDef& DefOf(Table t) {
  switch (t) {
    case Table::Downloads:
      return kDownloads;
    case Table::Settings:
      return kSettings;
    case Table::Completed:
      break;
  }
  return kCompleted;
}

std::string CreateTablesSql() {
  std::string sql;
  for (Table t : {Table::Downloads, Table::Settings, Table::Completed}) {
    const TableDef& table = DefOf(t);
    sql += "CREATE TABLE " + QuoteName(table.name) + " (id INTEGER PRIMARY KEY";
    for (const FieldDef& f : table.fields) {
      sql += ", " + QuoteName(f.name) + (f.kind == FieldKind::Number ? " INTEGER" : " TEXT");
    }
    sql += ");\n";
  }
  return sql;
}

}  // namespace store
