# Every target of the project builds -Wall -Wextra clean. The builds that CI runs also make
# every warning an error (VEXLINK_WERROR), so that none creeps in unnoticed.
option(VEXLINK_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(-Wall -Wextra)
if(VEXLINK_WERROR)
  add_compile_options(-Werror)
endif()
