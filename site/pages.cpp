#include "pages.h"

namespace site {
namespace {

// Head of every search page. Nothing in it may hold "s-" in any letter case:
// the first one on a probe page begins the keyword's token.
constexpr const char* kHead =
    "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>瀚岭商谷 供应商搜索</title></head>\n<body>\n";
constexpr const char* kTail = "\n</body></html>\n";

std::string listingBlock(const PageContext& context, const Listing& listing) {
  const Company& c = listing.company;
  const std::string shop = "http://" + c.id + "." + context.shopDomain;
  std::string block;
  block += "<div class=\"item\"><div class=\"logo\"><a data-rank=\"10\" href=\"" + shop +
           "/\" rel=\"nofollow\"><img src=\"/img/logo.png\" alt=\"\"></a></div>\n";
  block += "<div class=\"info\"><h3><a class=\"name\" href=\"" + shop + "\" target=\"_blank\">" + listing.html +
           "</a></h3>\n";
  block += "<p>主营产品：" + c.industry + "</p><p>所在地区：" + c.provinceName + " " + c.cityName + "</p>\n";
  if (c.verified) block += "<p class=\"badge\">执照已审核</p>\n";
  block += "<p class=\"level\">商铺成长等级</p></div></div>\n";
  return block;
}

std::string listingBlocks(const PageContext& context, const std::vector<Listing>& listings, std::size_t from,
                          std::size_t to) {
  std::string html;
  for (std::size_t i = from; i < to && i < listings.size(); ++i) html += listingBlock(context, listings[i]);
  return html;
}

}  // namespace

std::size_t form1Share(std::size_t listings) { return (listings + 1) / 2; }

std::string probePage(const PageContext& context, const std::vector<Category>& categories) {
  std::string html = kHead;
  html += "<div class=\"hint\">相关搜索：<a href=\"/s-" + context.token + ".html\">" + context.keyword + "</a></div>\n";
  html += "<div class=\"filter\">\n";
  if (!categories.empty()) {
    html += "<dl><dt>主营行业：</dt><dd>\n";
    for (const Category& category : categories) {
      html += "<a href=\"/s-" + context.token + ".html?cateid=" + category.id + "\" rel=\"external nofollow\">" +
              category.name + "</a>\n";
    }
    html += "</dd></dl>\n";
  }
  html +=
      "<dl><dt>经营模式：</dt><dd><a href=\"#\">生产型</a><a href=\"#\">贸易型</a><a href=\"#\">服务型</a></dd></dl>\n";
  html += "</div>";
  return html + kTail;
}

std::string noTokenPage(const std::string& keyword) {
  return std::string(kHead) + "<div class=\"empty\">没有找到与“" + keyword + "”相关的供应商。</div>" + kTail;
}

std::string listingForm1(const PageContext& context, int resultCount, const std::vector<Listing>& listings) {
  std::string html = kHead;
  html += "<div class=\"summary\">共找到<span>" + std::to_string(resultCount) + "</span>条相关供应商</div>\n";
  html += "<div class=\"tabs\"><a href=\"#\">全部</a><a href=\"#\">执照已审核</a></div>\n<div class=\"list\">\n";
  html += listingBlocks(context, listings, 0, form1Share(listings.size()));
  html += "</div>\n<div class=\"join\"><a href=\"#\">我是供应商</a>，免费发布产品</div>";
  return html + kTail;
}

std::string listingForm2(const PageContext& context, const std::vector<Listing>& listings) {
  std::string html = "<div class=\"list more\">\n";
  html += listingBlocks(context, listings, form1Share(listings.size()), listings.size());
  html += "</div>\n<div class=\"pager\">下一页</div>\n";
  return html;
}

std::string contactPage(const Company& company, const std::string& searchHost) {
  const Contact& v = company.contact;
  const int t = company.contactTemplate;
  std::string html = "<!DOCTYPE html>\n<html><head><meta content=\"" + company.name + "联系方式," + company.name +
                     "电话\" name=\"description\"><meta charset=\"utf-8\">\n";
  // The person stands in the title (second template), in <strong> (first) or
  // behind a line break and 31 spaces (third); each page holds one of them.
  if (t == 0) html += "<title>" + company.name + "联系方式</title>";
  if (t == 1) html += "<title>" + v.person + ":" + company.name + "联系方式</title>";
  html += "</head>\n<body>\n<div class=\"nav\"><a href=\"http://" + searchHost + "/\">首页</a></div>\n";
  html += "<div class=\"contact\">\n";
  if (t == 0) html += "<p class=\"person\"><strong>" + v.person + "</strong></p>\n";
  if (t == 2 && !v.person.empty()) {
    html += "<div class=\"person\">\r\n                               <span>" + v.person + "&nbsp;</span></div>\n";
  }
  if (t == 1) {
    html += "<p>联系人</br>手机:" + v.mobile + "</p>\n";
    html += "<p>电话：" + v.telephone + "</p>\n";
  } else {
    html += "<li>手机：<small>" + v.mobile + "</small></li>\n";
    html += t == 0 ? "<li>电话：<span>" + v.telephone + "</span></li>\n"
                   : "<li><span>电话:" + v.telephone + "</span></li>\n";
  }
  html += "<li>传真：<span>" + v.fax + "</span></li>\n";
  html += "<li>邮箱：<span>" + v.email + "</span></li>\n";
  if (!v.qq.empty()) {
    html += "<li>QQ：<a href=\"http://wpa.qq.com/msgrd?v=3&uin=" + v.qq + "&site=qq&menu=yes\">在线交谈</a></li>\n";
  }
  if (!v.address.empty()) html += "<li>地址： <span>" + v.address + "</span></li>\n";
  html += "</div>";
  return html + kTail;
}

std::string busyPage() { return std::string(kHead) + "<div class=\"busy\">系统繁忙，请稍后再试</div>" + kTail; }

std::string notFoundPage() { return "<html><body>404 Not Found</body></html>\n"; }

}  // namespace site
