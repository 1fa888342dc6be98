#pragma once
// A transport that answers from a script and keeps what was asked, for
// tests of what goes over the wire without a server.

#include "online/Transport.h"

#include <QIODevice>

#include <functional>
#include <vector>

class CTFakeTransport final : public CTTransport {
 public:
  using TAnswer = std::function<LTHttpResponse(const LTHttpRequest&)>;

  explicit CTFakeTransport(TAnswer answer = {}) : v_answer(std::move(answer)) { CTTransport::SetForTests(this); }
  ~CTFakeTransport() override { CTTransport::SetForTests(nullptr); }
  CTFakeTransport(const CTFakeTransport&) = delete;
  CTFakeTransport& operator=(const CTFakeTransport&) = delete;

  LTHttpResponse Exchange(const LTHttpRequest& request) override {
    v_requests.push_back(request);
    v_requests.back().pSink = nullptr;
    return v_answer ? v_answer(request) : LTHttpResponse{};
  }

  // An answer of these bytes as a server gives it: into the sink when there
  // is one, cut at the request's size cap.
  static LTHttpResponse Bytes(const LTHttpRequest& request, const QByteArray& bytes, int nStatus = 200) {
    LTHttpResponse response;
    response.nStatus = nStatus;
    const bool tooLarge = bytes.size() > request.nMaxBytes;
    const QByteArray kept = tooLarge ? bytes.left(request.nMaxBytes) : bytes;
    response.nReceived = kept.size();
    if (request.pSink) request.pSink->write(kept);
    else response.body = kept;
    if (request.progress) request.progress(kept.size(), bytes.size());
    response.outcome = tooLarge ? LTHttpOutcome::kTooLarge
                       : (nStatus >= 200 && nStatus < 300) ? LTHttpOutcome::kOk : LTHttpOutcome::kHttpStatus;
    return response;
  }

  const std::vector<LTHttpRequest>& Requests() const { return v_requests; }

 private:
  TAnswer v_answer;
  std::vector<LTHttpRequest> v_requests;
};
