// SPDX-License-Identifier: MIT
// The ground model in closed form, for drawing it at any frequency.  The
// table's numbers come from the C API (the console's exact fields); this is
// only for curves between and beyond the ten bands.
//   permittivity(f) = e (1 + sqrt(x / (pi f eps0 e)))
//   conductivity(f) = x (1 + sqrt(4 pi f eps0 e / x))
// with f in Hz, x the base conductivity (S/m) and eps0 e the base
// permittivity (F/m), as the C API's JSON gives both.
const gndfitModelCurve = (function () {
  'use strict';

  const kEps0 = 8.8541878128e-12; // F/m

  // The model at one frequency (MHz): relative permittivity and mS/m.
  function at(mhz, baseConductivity, basePermittivity) {
    const f = mhz * 1e6;
    const x = baseConductivity;
    const e = basePermittivity / kEps0;
    return {
      mhz,
      permittivity: e * (1 + Math.sqrt(x / (Math.PI * f * kEps0 * e))),
      conductivity_ms: 1000 * x * (1 + Math.sqrt((4 * Math.PI * f * kEps0 * e) / x)),
    };
  }

  // `count` points evenly spaced on a log frequency axis, ends included.
  function sample(fromMhz, toMhz, count, baseConductivity, basePermittivity) {
    const points = [];
    const ratio = Math.log(toMhz / fromMhz);
    for (let i = 0; i < count; i++) {
      const mhz = fromMhz * Math.exp((ratio * i) / (count - 1));
      points.push(at(mhz, baseConductivity, basePermittivity));
    }
    return points;
  }

  return { at, sample };
})();
