#pragma once

#include <cstdint>
#include <string>

namespace gl {

// The program-wide settings, with their values before the settings store is read.
struct Settings {
  std::string BrowserPath;
  std::string BrowserService;
  bool AutoLoadBrowser = false;
  int BrowserDebuggingPort = 9222;  // the running browser's remote-debugging endpoint on 127.0.0.1
  std::string ProxyServer;          // empty: direct connection
  int ProxyPort = 80;
  int RetryCount = 3;                          // attempts per page
  std::int64_t DiskBufferBytes = 1024 * 1024;  // minimum free disk space
  std::string DefaultUserName;
  std::string DefaultPassword;
  bool SecurePages = false;  // fetch https:// addresses over TLS
  bool PageStyles = false;   // fetch and rewrite what pages need to look as they do online
  // Transfers of one web entry at once: the spider's and those fetched ahead of it. 1 fetches one
  // page at a time.
  int Connections = 4;
};

}  // namespace gl
