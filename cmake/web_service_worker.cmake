# SPDX-License-Identifier: MIT
# Writes the web page's service worker from its template (cmake -P):
#   -DTEMPLATE=web/service-worker.js -DOUTPUT=.../service-worker.js
#   -DWEB_DIR=<built page> -DFILES=index.html,gndfit.js,... -DVERSION=<release>
# The cache's name is the release and a digest of the built files, so that a
# new release, or a rebuilt file under the same release, replaces the cache
# that browsers keep; the file list goes into the worker as it is here.
string(REPLACE "," ";" files "${FILES}")
set(digests "")
set(quoted "")
foreach(file IN LISTS files)
  file(SHA256 "${WEB_DIR}/${file}" digest)
  string(APPEND digests "${file} ${digest}\n")
  list(APPEND quoted "'${file}'")
endforeach()
string(SHA256 digest "${digests}")
string(SUBSTRING "${digest}" 0 12 digest)
set(GNDFIT_WEB_CACHE_VERSION "${VERSION}-${digest}")
list(JOIN quoted ", " GNDFIT_WEB_CACHED_FILES)
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
