#include "store/StoreSchema.h"

#include <array>

#include "store/Sqlite.h"

namespace store {
namespace {

constexpr std::array kDownloadFields{
    FieldSpec{"编号", FieldKind::Number},     FieldSpec{"文件完整地址", FieldKind::Text},
    FieldSpec{"下载文件名", FieldKind::Text}, FieldSpec{"下载路径", FieldKind::Text},
    FieldSpec{"歌曲来源", FieldKind::Text},
};
constexpr std::array kSettingFields{
    FieldSpec{"下载速度", FieldKind::Text},
    FieldSpec{"下载路径", FieldKind::Text},
    FieldSpec{"自动下载", FieldKind::Number},
};
constexpr std::array kCompletedFields{
    FieldSpec{"文件名", FieldKind::Text},
    FieldSpec{"完成时间", FieldKind::Text},
    FieldSpec{"歌曲来源", FieldKind::Text},
    FieldSpec{"下载目录", FieldKind::Text},
};

const TableSpec kDownloads{"下载记录", kDownloadFields, 0};
const TableSpec kSettings{"设置记录", kSettingFields, -1};
const TableSpec kCompleted{"完成下载", kCompletedFields, -1};

}  // namespace

const TableSpec& SpecOf(Table t) {
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
    const TableSpec& spec = SpecOf(t);
    sql += "CREATE TABLE " + QuoteName(spec.name) + " (id INTEGER PRIMARY KEY";
    for (const FieldSpec& f : spec.fields) {
      sql += ", " + QuoteName(f.name) + (f.kind == FieldKind::Number ? " INTEGER" : " TEXT");
    }
    sql += ");\n";
  }
  return sql;
}

}  // namespace store
