# -DVEXLINK_SANITIZE=ON: AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer
# for every target; undefined behaviour aborts so that a test run cannot pass over it.
if(VEXLINK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
