#include "resolve/FetchPage.h"

#include "web/WebRequest.h"

namespace resolve {

std::string FetchPage(std::string_view url) {
  std::string body = web::WebRequest(url);
  if (const std::size_t zero = body.find('\0'); zero != std::string::npos) body.resize(zero);
  return body;
}

}  // namespace resolve
