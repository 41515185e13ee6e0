# The fuzz targets: hv_fuzz_target(<name> <libraries>) for fuzz/<name>.cpp.
# Included by fuzz/CMakeLists.txt (the fuzzer programs) and by
# tests/regress/CMakeLists.txt (the same code run over the kept inputs).
hv_fuzz_target(project hv_model)
hv_fuzz_target(project_v0 hv_model)
hv_fuzz_target(project_v1 hv_model)
hv_fuzz_target(wav hv_model)
hv_fuzz_target(mp3 hv_model)
hv_fuzz_target(zh_dict hv_lyrics)
hv_fuzz_target(dict_list hv_lyrics)
hv_fuzz_target(singer_dict_txt hv_lyrics)
hv_fuzz_target(singer_dict_json hv_lyrics)
hv_fuzz_target(json hv_platform)
hv_fuzz_target(settings hv_model)
hv_fuzz_target(language hv_appservices)
hv_fuzz_target(registry hv_voicebank)
hv_fuzz_target(singer_description hv_voicebank)
hv_fuzz_target(midi hv_model)
hv_fuzz_target(vsqx hv_model)
