# QR codes printed on receipts are read back with zbar.
pkg_check_modules(ZBAR REQUIRED IMPORTED_TARGET zbar)
target_link_libraries(pruebas_${c} PRIVATE PkgConfig::ZBAR)
