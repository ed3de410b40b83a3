message(FATAL_ERROR "The package is made from a Release build without sanitizers only "
    "(cmake -DCMAKE_BUILD_TYPE=Release -DMARLOVIN_SANITIZE=OFF).")
