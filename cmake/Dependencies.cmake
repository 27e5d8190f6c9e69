# Every dependency comes from Debian packages; nothing is downloaded at build time.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(OpenSSL 3 REQUIRED)
find_package(ICU REQUIRED COMPONENTS uc i18n)
find_package(nlohmann_json 3 REQUIRED)
pkg_check_modules(PLIST REQUIRED IMPORTED_TARGET libplist-2.0)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets DBus Network Svg)
# Only the tests need Qt's test component: the Qt Test programs and their shared main.
if(DORVALE_TESTS)
  find_package(GTest REQUIRED)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
endif()
