// SPDX-License-Identifier: MIT
// What the page says about the ground models the module fits: the model
// it fits by default for a text of measurements, each fitted parameter
// read from the JSON's "model" object whatever the model (its name in
// words, its unit, its sd or why it has none), and which model a
// comparison chose and by how much.
import { measurementLines } from './links.js';
import { significant } from './number_text.js';

// The choices the module takes, in the order the page offers them.
export const kModelChoices = ['compare', 'messier', 'alipio-visacro', 'power-law'];

// Parameters in a model's table position: k of the comparison table, for a
// model the JSON gives without a fit (its "model" null) as well.
const kParameterCounts = { messier: 2, 'alipio-visacro': 1, 'power-law': 4 };

export const parameterCount = (name) => kParameterCounts[name] ?? null;

// The AICc of a comparison needs uncertainties, and means something with
// at least 3 measurements (6 values: each model has n - k - 1 > 0, the
// power law's 4 parameters included); with fewer, or without
// uncertainties, the page fits the two-parameter model.
export const kCompareFrom = 3;

export function defaultModel(text) {
  const weighted = measurementLines(text).filter((l) => l.split(/[\s,]+/).filter((f) => f !== '').length >= 5);
  return weighted.length >= kCompareFrom ? 'compare' : 'messier';
}

// The JSON's parameter names in words; a name not listed is written from
// the name itself.
const kWords = {
  base_conductivity_s_per_m: 'Base conductivity',
  base_permittivity: 'Base relative permittivity',
  low_frequency_conductivity_ms_per_m: 'Low-frequency conductivity',
  dispersive_conductivity_ms_per_m: 'Dispersive conductivity',
  exponent: 'Exponent',
  high_frequency_permittivity: 'High-frequency relative permittivity',
};

const kUnits = [[/_ms_per_m$/, 'mS/m'], [/_s_per_m$/, 'S/m']];

// The words the module's warnings use for a parameter (as the report's).
const kWarningWords = {
  low_frequency_conductivity_ms_per_m: 'low-frequency conductivity',
  dispersive_conductivity_ms_per_m: 'dispersive conductivity',
  exponent: 'exponent',
  high_frequency_permittivity: 'high-frequency permittivity',
};

const isParameterKey = (key) => !key.endsWith('_sd') && key !== 'correlation' && key !== 'covariance';

// Why a parameter has no sd: the module says so in a warning, in a
// comparison one that names its model ("In the power-law model, the
// exponent is at the bound ...").
function noSdNote(name, modelName, warnings) {
  const words = kWarningWords[name];
  if (!words) return 'no sd';
  const about = (w) => {
    const own = w.text.match(/^In the (\S+) model, /);
    return (!own || own[1] === modelName) && w.text.toLowerCase().includes(words + ' ');
  };
  if (warnings.some((w) => w.code === 'parameter-at-bound' && about(w))) return 'at its bound';
  if (warnings.some((w) => w.code === 'parameter-undetermined' && about(w))) return 'undetermined';
  return 'no sd';
}

// Each parameter of the JSON's "model" object, in its order:
// {name, words, unit, value, sd (null without), note (why sd is null)}.
export function parametersOf(model, modelName = 'messier', warnings = []) {
  return Object.keys(model).filter(isParameterKey).map((name) => {
    const unitOf = kUnits.find(([suffix]) => suffix.test(name));
    const sdName = name.replace(/_m?s_per_m$/, '') + '_sd';
    const sd = model[sdName] ?? null;
    const words = kWords[name] || name.replace(/_/g, ' ').replace(/^./, (c) => c.toUpperCase());
    return { name, words, unit: unitOf ? unitOf[1] : '', value: model[name], sd,
             note: sd === null ? noSdNote(name, modelName, warnings) : null };
  });
}

// With compare: which model was chosen and by how much, in a sentence:
// its AICc below the next lowest, and its Akaike weight.
export function chosenSentence(result) {
  const chosen = result.models.find((m) => m.model_name === result.chosen);
  const others = result.models.filter((m) => m !== chosen && m.aicc !== null);
  const next = others.reduce((best, m) => (best === null || m.aicc < best.aicc ? m : best), null);
  let text = 'The ' + result.chosen + ' model is chosen';
  text += next
    ? ': its AICc is ' + significant(next.aicc - chosen.aicc, 3) + ' below that of ' + next.model_name +
      ', the next lowest, and its Akaike weight is ' + significant(chosen.akaike_weight, 3) + '.'
    : ', the only model with an AICc.';
  return text + ' The bands, the residuals and the NEC-2 cards below follow it.';
}
