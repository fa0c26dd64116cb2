#include "batch/batch_host.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "anova/levels/contrast_form.h"
#include "anova/model_language.h"
#include "anova/setup_forms.h"
#include "shell/number_locale.h"

namespace tolmex::batch {

using shell::Answer;

namespace {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string JoinNames(const std::vector<std::string>& names) {
  std::string r;
  for (const auto& n : names) {
    if (!r.empty()) r += ", ";
    r += n;
  }
  return r;
}

bool HasErro(const std::string& line) { return line.find("erro=") != std::string::npos; }

// Number of distinct levels of a column (empty cells are no level).
int LevelCount(const data::DataTable& t, int col) {
  if (col < 0 || col >= t.FieldCount() || !t.Active()) return 0;
  if (t.DataType(col) == data::FieldType::ftString) {
    std::set<std::string> seen;
    for (int r = 0; r < t.RecordCount(); ++r)
      if (!t.IsNull(r, col)) seen.insert(t.GetString(r, col));
    return static_cast<int>(seen.size());
  }
  std::set<double> seen;
  for (int r = 0; r < t.RecordCount(); ++r)
    if (!t.IsNull(r, col)) seen.insert(t.GetFloat(r, col));
  return static_cast<int>(seen.size());
}

// K as the person would type it in the input box, which reads the user's decimal separator.
std::string KForInputBox(double k) {
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, k);
  std::string s(buf, ptr);
  const char sep = shell::CurrentNumberLocale().decimalSeparator;
  for (char& c : s)
    if (c == '.') c = sep;
  return s;
}

}  // namespace

// ---------------------------------------------------------------- table source

void BatchTableSource::LoadTable() { table_ = loaded_; }

void BatchTableSource::CloseTable() {
  if (table_.Active()) table_.Close();
}

// ---------------------------------------------------------------- contrasts

// The contrasts of each slot come one after the other from its coef= list; a new request
// after the last one of the list starts the list again (the next combination, response or
// transformation).
class BatchWindowHost::ContrastSlots : public anova::ContrastPort {
 public:
  ContrastSlots(BatchWindowHost& host, BatchPrompter& prompter)
      : host_(host), form_(prompter), port_(form_, host) {}

  std::optional<anova::ContrastAnswer> AskContrast(const anova::ContrastRequest& r) override {
    const auto it = host_.bySlot_.find({r.fvName, r.slot});
    if (it == host_.bySlot_.end() || it->second->contrasts.empty()) {
      host_.Fail("contraste pedido para a FV " + Quoted(r.fvName) + ", opção " +
                 std::to_string(r.slot) + ", sem coef= correspondente");
      return std::nullopt;
    }
    const auto& list = it->second->contrasts;
    if (next_ >= list.size()) next_ = 0;
    host_.contrast_ = &list[next_];
    host_.lastContrast_ = next_ + 1 == list.size();
    auto answer = port_.AskContrast(r);
    host_.contrast_ = nullptr;
    if (answer && answer->finalizou)
      next_ = 0;
    else
      ++next_;
    return answer;
  }

 private:
  BatchWindowHost& host_;
  anova::levels::TCont form_;
  anova::levels::TContPort port_;
  std::size_t next_ = 0;
};

// ---------------------------------------------------------------- host

BatchWindowHost::BatchWindowHost(const BatchOptions& options, BatchPrompter& prompter,
                                 const data::DataTable& table)
    : o_(options), prompter_(prompter), table_(table) {
  contrasts_ = std::make_unique<ContrastSlots>(*this, prompter);
  prompter_.SetQuestionHandler([this](const std::string& text) -> std::optional<Answer> {
    if (text == "Quer encerrar o quadro de análise de variância?") return Answer::Yes;
    if (text == "Voce vai usar variância complexa?" && current_)
      return current_->vc ? Answer::Yes : Answer::No;
    if (text == "Nenhuma variável foi selecionada! Vai finalizar assim mesmo?") return Answer::Yes;
    return std::nullopt;
  });
  prompter_.SetInputHandler([this](const std::string& title, const std::string&,
                                   const std::string&) -> std::optional<std::string> {
    // The box asks again when it refused the value: the options have no other answer.
    if (title == "Entre com K: " && kAsked_++ == 0) return KForInputBox(o_.kWallerValue);
    return std::nullopt;
  });
}

BatchWindowHost::~BatchWindowHost() = default;

anova::ContrastPort& BatchWindowHost::Contrasts() { return *contrasts_; }

void BatchWindowHost::Fail(std::string why) {
  prompter_.Error("tolmex-batch: " + why);
  failures_.push_back(std::move(why));
}

void BatchWindowHost::ShowModal(shell::Form& form) {
  const std::string_view name = form.FormName();
  if (auto* f = dynamic_cast<anova::TForm_modelo*>(&form)) return Modelo(*f);
  if (auto* f = dynamic_cast<anova::TForm_Opcoes_ANAVA*>(&form)) return Opcoes(*f);
  if (auto* f = dynamic_cast<anova::TForm_Opcao_FV*>(&form)) return OpcaoFV(*f);
  if (auto* f = dynamic_cast<anova::TForm_VarComp*>(&form)) return VarComp(*f);
  if (auto* f = dynamic_cast<anova::TForm_Reg_OP_Fv*>(&form)) return Regressao(*f);
  if (auto* f = dynamic_cast<anova::TForm_Variaveis*>(&form)) return Variaveis(*f);
  if (auto* f = dynamic_cast<anova::TForm_Transf*>(&form)) return Transf(*f);
  if (auto* f = dynamic_cast<anova::TForm_Opcao_Transf*>(&form)) return OpcaoTransf(*f);
  if (auto* f = dynamic_cast<anova::levels::TCont*>(&form)) return Contraste(*f);
  // A window the options know nothing about: it stays unanswered and the run fails.
  if (setupDone_) {
    Fail("janela sem resposta nas opções: " + std::string(name));
    return;
  }
  throw BatchRefusal("janela sem resposta nas opções: " + std::string(name));
}

// ---- model window

void BatchWindowHost::Modelo(anova::TForm_modelo& f) {
  f.AbrirArquivo();
  for (const std::string& line : o_.modelo) {
    const std::size_t before = f.Lines().size();
    f.Edit_FV = line;
    f.Adicionar();
    if (f.Lines().size() == before)
      throw BatchRefusal("--modelo " + Quoted(line) + ": a linha não foi aceita");
  }
  f.Fim();
  if (!f.Closed()) throw BatchRefusal("o modelo não foi encerrado");
  std::vector<std::string> lines = f.Lines();
  if (!lines.empty() && lines.back() == "Fim") lines.pop_back();
  CheckAgainstModel(lines);
}

// What needs the finished model and the table, checked before anything runs: the names of
// the model (the computation's own check), and every option against its source.
void BatchWindowHost::CheckAgainstModel(const std::vector<std::string>& lines) {
  // The model window refused the structure: its messages are out, the chain stops.
  for (const auto& l : lines) {
    const bool open = l.find('(') != std::string::npos, close = l.find(')') != std::string::npos;
    if (open != close || l.find("**") != std::string::npos) return;
  }
  for (std::size_t i = 0; i < lines.size(); ++i)
    for (std::size_t j = i + 1; j < lines.size(); ++j)
      if (lines[i] == lines[j]) return;

  // The copy into the scratch table refuses wide tables; said before anything runs.
  if (table_.FieldCount() > anova::kMaxScratchColumns) {
    prompter_.Warning(anova::ScratchTable::kTooManyColumnsMessage);
    throw BatchRefusal(Quoted(o_.tabela) + " tem " + std::to_string(table_.FieldCount()) +
                       " colunas");
  }
  auto scratch = std::make_unique<anova::AnovaState>();
  scratch->LB_Anova = lines;
  scratch->LB_Anova.push_back("Fim");
  scratch->nfv = static_cast<int>(scratch->LB_Anova.size());
  scratch->press_fim = true;
  for (int c = 0; c < table_.FieldCount(); ++c)
    scratch->ListBox_Variaveis.push_back(table_.FieldName(c));
  if (!anova::CheckModelNames(*scratch, prompter_))
    throw BatchRefusal("o modelo não confere com as colunas de " + Quoted(o_.tabela) + " (" +
                       JoinNames(scratch->ListBox_Variaveis) + ")");

  const int errors = 1 + static_cast<int>(std::count_if(lines.begin(), lines.end(), HasErro));
  optionLine_.clear();
  for (const OptionSpec& s : o_.opcoes) {
    const std::string where = "--opcao " + Quoted(s.text) + ": ";
    int index = -1;
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == s.fv) index = static_cast<int>(i);
    if (index < 0) {
      int n = 0;
      auto [ptr, ec] = std::from_chars(s.fv.data(), s.fv.data() + s.fv.size(), n);
      if (ec == std::errc() && ptr == s.fv.data() + s.fv.size() && n >= 1 &&
          n <= static_cast<int>(lines.size()))
        index = n - 1;
    }
    if (index < 0)
      throw BatchRefusal(where + "a FV não é uma linha do modelo nem o seu número (1 a " +
                         std::to_string(lines.size()) + ")");
    const std::string& line = lines[static_cast<std::size_t>(index)];
    const anova::FvKind kind = anova::ClassifyLine(line);
    const bool split = kind == anova::kInteraction || kind == anova::kNested;
    std::string factor = line;
    if (kind != anova::kErrorTerm) {
      if (!split && s.desdobrar)
        throw BatchRefusal(where + "desdobrar= só vale em interações e FV aninhadas; " +
                           Quoted(line) + " é um efeito principal");
      if (!split && s.vc)
        throw BatchRefusal(where + "vc= só vale em interações e FV aninhadas");
      if (split) {
        const auto factors = anova::TermFactors(line);
        if (!s.desdobrar)
          throw BatchRefusal(where + "falta desdobrar=FATOR (" + JoinNames(factors) + ")");
        if (std::find(factors.begin(), factors.end(), *s.desdobrar) == factors.end())
          throw BatchRefusal(where + Quoted(*s.desdobrar) + " não é fator de " + Quoted(line) +
                             " (" + JoinNames(factors) + ")");
        factor = *s.desdobrar;
        if (s.vc && errors < 2)
          throw BatchRefusal(where + "vc= pede um modelo com mais de um erro (use erro=)");
      }
    }
    if (!s.contrasts.empty()) {
      const int levels = LevelCount(table_, table_.FieldIndex(factor));
      anova::levels::TCont check(prompter_);
      check.Numniv = levels;
      for (std::size_t c = 0; c < s.contrasts.size(); ++c) {
        const auto& coefs = s.contrasts[c];
        if (static_cast<int>(coefs.size()) > levels)
          throw BatchRefusal(where + "o contraste " + std::to_string(c + 1) + " tem " +
                             std::to_string(coefs.size()) + " coeficientes, mas " +
                             Quoted(factor) + " tem " + std::to_string(levels) + " níveis");
        // The dialog's own check of the coefficients (numbers adding up to zero).
        check.Activate();
        check.LB_Coef = coefs;
        check.NovoContraste();
        if (!check.Closed())
          throw BatchRefusal(where + "o contraste " + std::to_string(c + 1) + " foi recusado");
      }
    }
    if (!s.terms.empty())
      ResolveRegressionTerms(s.terms, anova::TForm_Reg_OP_Fv::kCaptions);  // throws
    optionLine_.push_back(index);
  }
}

// ---- options dialog and its windows

void BatchWindowHost::Opcoes(anova::TForm_Opcoes_ANAVA& f) {
  std::map<int, int> slots;
  for (std::size_t i = 0; i < o_.opcoes.size() && i < optionLine_.size(); ++i) {
    const OptionSpec& s = o_.opcoes[i];
    current_ = &s;
    optionShown_ = false;
    f.ClickLine(optionLine_[i]);
    current_ = nullptr;
    // The dialog refused the click (its message is out): an error line, or an eighth slot.
    if (!optionShown_) throw BatchRefusal("--opcao " + Quoted(s.text) + ": recusada");
    const int slot = ++slots[optionLine_[i]];
    bySlot_[{f.Lines()[static_cast<std::size_t>(optionLine_[i])], slot}] = &s;
  }
  f.Ok();
}

void BatchWindowHost::VarComp(anova::TForm_VarComp& f) {
  if (!current_ || !current_->vc) throw BatchRefusal("variância complexa sem vc=");
  f.Ed_QMEa = current_->vc->qmeA;
  f.Ed_QMEb = current_->vc->qmeB;
  f.Ed_b = current_->vc->b;
  f.Ed_k = current_->vc->k;
  f.Ok();
  if (!f.Accepted())
    throw BatchRefusal("--opcao " + Quoted(current_->text) + ": vc= recusado (" +
                       f.ErrosLabel() + ")");
}

void BatchWindowHost::OpcaoFV(anova::TForm_Opcao_FV& f) {
  if (!current_) throw BatchRefusal("janela de opção sem --opcao");
  optionShown_ = true;
  const OptionSpec& s = *current_;
  f.Opcao = s.code;
  f.Ed_alpha = s.alpha.value_or("0.05");
  f.FatorSelecionado = -1;
  if (f.ShowsFactors() && s.desdobrar) {
    const auto& factors = f.Factors();
    const auto it = std::find(factors.begin(), factors.end(), *s.desdobrar);
    if (it != factors.end()) f.FatorSelecionado = static_cast<int>(it - factors.begin());
  }
  kAsked_ = 0;
  f.Ok();
  if (kAsked_ > 1) throw BatchRefusal("--k-waller: K recusado");
  if (!f.Closed()) throw BatchRefusal("--opcao " + Quoted(s.text) + ": recusada");
}

void BatchWindowHost::Regressao(anova::TForm_Reg_OP_Fv& f) {
  int slot = 0;
  std::from_chars(f.Lb2.data(), f.Lb2.data() + f.Lb2.size(), slot);
  const auto it = bySlot_.find({f.Lb1, slot});
  if (it == bySlot_.end() || it->second->terms.empty())
    throw BatchRefusal("modelo de regressão sem termos=: " + f.Lb1);
  const std::vector<int> codes =
      ResolveRegressionTerms(it->second->terms, anova::TForm_Reg_OP_Fv::kCaptions);
  for (int c : codes)
    if (c >= 1 && c <= static_cast<int>(f.cb.size())) f.cb[static_cast<std::size_t>(c - 1)] = true;
  f.Ok();
  if (!f.Accepted())
    throw BatchRefusal("--opcao " + Quoted(it->second->text) + ": termos= recusado");
}

// ---- responses and transformations

void BatchWindowHost::Variaveis(anova::TForm_Variaveis& f) {
  for (const std::string& name : o_.respostas) {
    const auto& cols = f.Columns();
    const auto it = std::find(cols.begin(), cols.end(), name);
    if (it == cols.end())
      throw BatchRefusal("--resposta " + Quoted(name) + ": não há essa coluna em " +
                         Quoted(o_.tabela) + " (" + JoinNames(cols) + ")");
    const std::size_t before = f.Chosen().size();
    f.ClickColumn(static_cast<int>(it - cols.begin()));
    if (f.Chosen().size() == before)
      throw BatchRefusal("--resposta " + Quoted(name) + ": recusada");
  }
  f.Finalizar();
}

void BatchWindowHost::Transf(anova::TForm_Transf& f) {
  for (const TransformSpec& t : o_.transformacoes) {
    const auto& rs = f.Responses();
    const auto it = std::find(rs.begin(), rs.end(), t.response);
    if (it == rs.end()) throw BatchRefusal("--transformacao: " + Quoted(t.response));
    for (int code : t.codes) {
      pendingTransform_ = code;
      f.ClickResponse(static_cast<int>(it - rs.begin()));
      if (pendingTransform_ != 0)
        throw BatchRefusal("--transformacao " + Quoted(t.response) + ": recusada");
    }
  }
  f.Finalizar();
  setupDone_ = true;
  if (onSetupDone_) onSetupDone_();
}

void BatchWindowHost::OpcaoTransf(anova::TForm_Opcao_Transf& f) {
  f.Codigo = pendingTransform_;
  pendingTransform_ = 0;
  f.Ok();
}

// ---- contrasts (during the computation)

void BatchWindowHost::Contraste(anova::levels::TCont& f) {
  if (!contrast_) {
    Fail("diálogo de contrastes sem coef= correspondente: " + f.Lb1);
    return;  // the window goes away without a closing path: nothing is computed
  }
  for (const std::string& c : *contrast_) {
    f.Ed_coef = c;
    f.Acrescentar();
  }
  if (f.LB_Coef.size() != contrast_->size()) {
    Fail("o contraste tem " + std::to_string(contrast_->size()) + " coeficientes, mas " +
         f.Lb1 + " tem " + std::to_string(f.Numniv) + " níveis aqui");
    return;
  }
  if (lastContrast_) {
    f.Finalizar();
    if (f.Ach_erro) Fail("contraste recusado em " + f.Lb1);
  } else {
    f.NovoContraste();
    if (!f.Closed()) Fail("contraste recusado em " + f.Lb1);
  }
}

}  // namespace tolmex::batch
