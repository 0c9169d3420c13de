#pragma once

#include <string>
#include <vector>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

// Throw-away certificates for TLS tests, made with OpenSSL when a test runs, so no key or
// certificate is ever committed and none expires in the repository.

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;

namespace gl::test {

// What a TLS server presents: its certificate and private key, both PEM.
struct ServerIdentity {
  std::string CertificatePem;
  std::string KeyPem;
};

// A certificate authority of its own (a fresh key and name each time).
class TestAuthority {
 public:
  TestAuthority();
  TestAuthority(const TestAuthority&) = delete;
  TestAuthority& operator=(const TestAuthority&) = delete;
  ~TestAuthority();

  // A server certificate signed by this authority for `names` (host names, or IPv4 addresses
  // such as "127.0.0.1"), valid from `firstDay` to `lastDay` days from now.
  ServerIdentity Issue(const std::vector<std::string>& names, int firstDay = -1,
                       int lastDay = 30) const;

 protected:
  EVP_PKEY* key_ = nullptr;
  X509* certificate_ = nullptr;
};

// A test authority that the program trusts while the object lives: SSL_CERT_FILE names a file
// that holds its certificate alone. Create it before any server thread starts, since the
// environment is not thread-safe.
class TrustedAuthority : public TestAuthority {
 public:
  TrustedAuthority();

 private:
  TempFolder folder_;
  ScopedEnvironment certificateFile_;
};

}  // namespace gl::test
