#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

// Throw-away certificates for TLS tests, made when a test runs: none is committed or expires.

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;

namespace gl::test {

struct ServerIdentity {  // PEM
  std::string CertificatePem;
  std::string KeyPem;
};

// A fresh key and name each time.
class TestAuthority {
 public:
  TestAuthority();

  // A server certificate signed by this authority for `names` (host names, or IPv4 addresses
  // such as "127.0.0.1"), valid from `firstDay` to `lastDay` days from now.
  ServerIdentity Issue(const std::vector<std::string>& names, int firstDay = -1,
                       int lastDay = 30) const;

 protected:
  std::unique_ptr<EVP_PKEY, void (*)(EVP_PKEY*)> key_;
  std::unique_ptr<X509, void (*)(X509*)> certificate_;
};

// Trusted by the program while it lives, as the only authority in SSL_CERT_FILE. Create it before
// any server thread starts: the environment is not thread-safe.
class TrustedAuthority : public TestAuthority {
 public:
  TrustedAuthority();

 private:
  TempFolder folder_;
  ScopedEnvironment certificateFile_;
};

}  // namespace gl::test
