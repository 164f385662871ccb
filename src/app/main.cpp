#include <QApplication>
#include <QLabel>

#include "net/site.h"
#include "platform/codepage.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const net::Site site{HARVESTER_SEARCH_HOST, HARVESTER_SHOP_DOMAIN};
  QLabel window(QString::fromStdString(platform::gbkToUtf8("瀚岭商谷供应商采集"_gbk)) + " - " +
                QString::fromStdString(site.searchHost));
  window.resize(1033, 520);
  window.show();
  return QApplication::exec();
}
